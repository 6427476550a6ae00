#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace volumetra {

/// The codes of GetDriveTypeW that the backend tells apart.
inline constexpr std::uint32_t kDriveUnknown = 0;
inline constexpr std::uint32_t kDriveNoRootDirectory = 1;
inline constexpr std::uint32_t kDriveRemote = 4;

/// What GetVolumeInformationW tells of a volume, its texts in UTF-8.
struct VolumeInformation {
  std::string volumeName;
  std::uint32_t serialNumber = 0;
  std::uint32_t maxComponentLength = 0;
  std::uint32_t fileSystemFlags = 0;
  std::string fileSystemName;
};

/// GetDiskFreeSpaceW's answer: the cluster geometry and the counts as the call gives them.
struct DiskGeometry {
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  std::uint32_t totalClusters = 0;

  bool operator==(const DiskGeometry&) const = default;
};

/// GetDiskFreeSpaceExW's answer: the volume's sizes in bytes.
struct DiskBytes {
  std::uint64_t availableToCaller = 0;
  std::uint64_t total = 0;
};

/// How the listing of a drive's current directory ("L:*", FindFirstFileW) began.
struct DriveListing {
  bool found = false;       ///< a first entry was returned
  std::string firstName;    ///< its name
  std::uint32_t error = 0;  ///< GetLastError() when nothing was returned
};

/// The Win32 volume calls the Windows backend is built on, one method per call, so that tests can
/// stand in for cases a test machine cannot make (a cluster count beyond 2^31, a server that
/// hangs). Root paths are "C:\". Implementations may be called from worker threads.
class VolumeCalls {
 public:
  virtual ~VolumeCalls() = default;
  /// GetVolumeInformationW with 255-character buffers; nullopt when the call fails.
  virtual std::optional<VolumeInformation> VolumeInformationOf(const std::string& rootPath) = 0;
  virtual std::optional<DiskGeometry> DiskFreeSpace(const std::string& rootPath) = 0;
  virtual std::optional<DiskBytes> DiskFreeSpaceEx(const std::string& rootPath) = 0;
  virtual std::uint32_t DriveType(const std::string& rootPath) = 0;
  /// GetLogicalDrives: bit n set for each letter ('A' + n) that names a drive; 0 when it failed.
  virtual std::uint32_t LogicalDrives() = 0;
  /// FindFirstFileW on `pattern`, closed again at once.
  virtual DriveListing FirstEntry(const std::string& pattern) = 0;
  /// Whether "L:" names a volume of a disk of this computer (QueryDosDeviceW gives
  /// \Device\HarddiskVolumeN), which asks no network server: not a network drive, a substituted
  /// path or a CD drive. The call asks only the system's names, never the drive.
  virtual bool IsLocalDisk(char letter) = 0;
  /// WNetGetConnectionW for "L:": the remote name of a network drive, empty for others.
  virtual std::string RemoteName(char letter) = 0;
  /// Under Wine, keeps a handle on the root directory of network drive `letter` open until
  /// ReleaseRoot: Wine's server asks a drive's file system what it is (statfs) whenever a process
  /// opens a file of it while none is open, so a dead server would hold Wine's server, and with it
  /// every window of the session, at the next call of any of the drive's queries. Does nothing on
  /// Windows, where an open handle would keep the user from disconnecting the drive.
  virtual void HoldRoot(char letter) = 0;
  virtual void ReleaseRoot(char letter) = 0;
};

/// The real calls.
std::shared_ptr<VolumeCalls> MakeSystemVolumeCalls();

}  // namespace volumetra
