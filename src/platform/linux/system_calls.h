#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace volumetra {

template <typename Call, typename Result>
class CallChannel;
struct HangingCall;
struct HangingCallResult;

/// A device number, as /proc/self/mountinfo and stat() give it.
struct DeviceNumber {
  unsigned major = 0;
  unsigned minor = 0;
  auto operator<=>(const DeviceNumber&) const = default;
};

/// What statvfs() tells about a mounted file system. Block counts are in units of `fragmentSize`.
struct FileSystemStats {
  std::uint64_t fragmentSize = 0;     ///< f_frsize, bytes
  std::uint64_t blockSize = 0;        ///< f_bsize, bytes; stands in when f_frsize is 0
  std::uint64_t totalBlocks = 0;      ///< f_blocks
  std::uint64_t availableBlocks = 0;  ///< f_bavail: free for an ordinary user
  std::uint64_t fileSystemId = 0;     ///< f_fsid
  std::uint64_t maxNameLength = 0;    ///< f_namemax
  bool readOnly = false;              ///< ST_RDONLY
};

/// The label and UUID text that libblkid reads from a file system's superblock.
struct BlockIdentity {
  std::string label;
  std::string uuid;
  bool operator==(const BlockIdentity&) const = default;
};

/// The system calls the Linux volume services make, behind one interface so that tests can script
/// the machine (and make a call hang as a dead network server does). Implementations must allow
/// calls from several threads at once.
class LinuxSystemCalls {
 public:
  virtual ~LinuxSystemCalls() = default;

  /// statvfs(path). Can block for as long as the file system's server does not answer.
  virtual bool StatFileSystem(const std::string& path, FileSystemStats& stats) = 0;
  /// The whole content of a small file of /proc or /sys; nullopt when it cannot be read.
  virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;
  /// The names in a directory, without "." and ".."; empty when it cannot be listed.
  virtual std::vector<std::string> ListDirectory(const std::string& path) = 0;
  /// The device number of the block device that `path` names, following links; nullopt when
  /// `path` is not a block device.
  virtual std::optional<DeviceNumber> BlockDeviceAt(const std::string& path) = 0;
  /// stat(path) succeeds and names a directory.
  virtual bool IsDirectory(const std::string& path) = 0;
  /// Label and UUID read by libblkid from the device or image at `path`; nullopt when it cannot
  /// be probed. Reads the medium, so it can block on a failing device.
  virtual std::optional<BlockIdentity> ProbeBlockDevice(const std::string& path) = 0;
  /// A channel that makes the calls that can hang (StatFileSystem, ProbeBlockDevice) away from
  /// the caller, for the mount `volume` (its key: mount id and mount point); nullptr when none can
  /// be opened. While a helper of an earlier run is still stuck in a call to that mount, the
  /// channel makes no call and its calls give no answer (HeldChannel).
  virtual std::unique_ptr<CallChannel<HangingCall, HangingCallResult>> OpenCallChannel(
      const std::string& volume) = 0;
};

/// The volume helper executable of the program at `executable`: beside it (a build tree or a
/// portable copy), else where the installation puts it (libexec/volumetra beside its bin/). Empty
/// when there is none.
std::string VolumeHelperOf(const std::string& executable);
/// The volume helper of the running program.
std::string FindVolumeHelper();

/// The real system calls. Calls that can hang run in helper processes started from
/// `volumeHelper` (the program's volume helper executable); where it cannot be started, on
/// threads of this process.
std::shared_ptr<LinuxSystemCalls> MakeLinuxSystemCalls(std::string volumeHelper = FindVolumeHelper());

}  // namespace volumetra
