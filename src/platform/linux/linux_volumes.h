#pragma once

#include <array>
#include <bitset>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/drive_letters.h"
#include "platform/linux/hanging_call.h"
#include "platform/linux/letter_file.h"
#include "platform/linux/mount_table.h"
#include "platform/linux/system_calls.h"
#include "platform/linux/volume_identity.h"
#include "platform/volume_service.h"

namespace volumetra {

/// How LinuxVolumes is set up; the defaults are the program's.
struct LinuxVolumesOptions {
  /// How long a call that can hang is waited for.
  std::chrono::milliseconds callLimit{5000};
  /// Where the letters of known volumes are kept between runs; empty: they are not kept.
  std::string letterFile = DefaultLetterFile();
  /// The steady clock the call limit is measured on (the one the call channels wait on).
  HangingCallGuard::Clock clock = std::chrono::steady_clock::now;
};

/// The volume services on Linux: the root file system is drive C:, other mounted disks, network
/// shares, FUSE file systems and RAM disks get the letters D: to Z:, each keeping its letter while
/// it stays mounted, and, through the letter file, the letter it had in earlier runs.
///
/// The mount table is read again by ListDrive('C'), which drive discovery calls first in every
/// pass, and on first use; drive discovery itself never touches a file system. Calls that can
/// hang (statvfs of network, FUSE and cluster file systems; the libblkid probe of a device that
/// udev does not know) run in helper processes under a CallGuard, never on the calling thread.
/// Each probe pass (BeginProbePass) starts the statvfs calls of all its drives that can hang at
/// once, so that any number of dead servers cost one wait of `callLimit` together; the pass then
/// answers a drive's volume information and free space from the same call. A drive whose call ran
/// out of time gives no answer while that call is stuck and is asked again, and waited for, only by
/// a probe pass (which asks it again only after the program's time-out reset).
///
/// Drive discovery never makes a call that can hang, nor waits for one: its free-space questions,
/// and the questions of the probe passes it runs (between BeginDriveDiscovery and
/// EndDriveDiscovery), take what the drive's last statvfs told, or are declined (as failed) for a
/// drive that has not answered yet. So the start-up, whose discovery runs before the window shows,
/// never waits for a dead server, nor does any later drive refresh.
class LinuxVolumes : public VolumeService {
 public:
  /// The sizes of the backend's own tables, which stay bounded however long it runs.
  struct Footprint {
    std::size_t drives = 0;        ///< drives of the last mount table read
    std::size_t letters = 0;       ///< letter assignments
    std::size_t mountVolumes = 0;  ///< how the letter file knows each mount's volume
    std::size_t knownLetters = 0;  ///< volumes remembered in the letter file
    std::size_t identities = 0;    ///< labels and UUIDs looked up since the last read
    std::size_t passAnswers = 0;   ///< statvfs answers kept for a pass's free-space questions
    std::size_t lastAnswers = 0;   ///< the last statvfs answer of each drive that can hang
    std::size_t guardKeys = 0;     ///< mounts the call guard holds a channel for
    std::size_t guardCalls = 0;    ///< calls out and not collected
  };

  explicit LinuxVolumes(std::shared_ptr<LinuxSystemCalls> system = MakeLinuxSystemCalls(),
                        LinuxVolumesOptions options = {});

  VolumeAnswer GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                    std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                    std::int32_t& fileSystemFlags,
                                    std::string& fileSystemNameBuffer) override;
  VolumeAnswer GetDiskFreeSpace(const std::string& rootPath, std::int32_t& sectorsPerCluster,
                                std::int32_t& bytesPerSector, std::int32_t& freeClusters,
                                std::int32_t& totalClusters) override;
  int GetDriveType(const std::string& rootPath) override;
  DrivePresence ListDrive(char letter) override;
  std::string DriveDescription(char letter) override;
  void BeginProbePass(const std::string& letters) override;
  void BeginDriveDiscovery() override { discovering_ = true; }
  void EndDriveDiscovery() override { discovering_ = false; }

  /// The directory drive `letter` stands for; empty when the letter is not in use.
  std::string MountPointOf(char letter);

  Footprint footprint() const;
  /// Call channels (helper processes) opened so far.
  int ChannelsOpened() const { return guard_.ChannelsOpened(); }
  /// Mounts with a call that ran out of time and has not returned yet.
  int StuckMounts() { return guard_.StuckKeys(); }

 private:
  void ReadMountTable();
  void StartDiscoveryRound();
  const DriveMount* DriveFor(char letter);
  const DriveMount* DriveForRootPath(const std::string& rootPath);
  /// The probe pass under way asks the drive of `rootPath` (again, even after a time-out).
  bool Reasks(const std::string& rootPath) const;
  /// A question about `drive` may make its calls: always for a drive that cannot hang; for one that
  /// can, only a probe pass's outside drive discovery (the others take its last answer).
  bool MayCall(const DriveMount& drive, bool reask) const {
    return !drive.mayHang || (reask && !discovering_);
  }
  VolumeAnswer StatDrive(const DriveMount& drive, bool reask, FileSystemStats& stats);
  VolumeAnswer FindBlockIdentity(const DriveMount& drive, bool reask, BlockIdentity& identity);

  /// Drive letters A to Z, each the index of its place in a pass's tables.
  static constexpr std::size_t kLetterCount = 26;

  std::shared_ptr<LinuxSystemCalls> system_;
  std::string letterFile_;
  HangingCallGuard guard_;
  bool tableRead_ = false;
  DriveLetterMap letters_;
  KnownLetters known_;
  std::map<char, DriveMount> drives_;
  /// How the letter file knows the volume of each mount, by mount key.
  std::map<std::string, KnownVolume> volumes_;
  /// Label and UUID by mount key, looked up since the mount table was last read.
  std::map<std::string, BlockIdentity> identities_;
  /// The letters of the probe pass under way, by LetterIndex; none outside one.
  std::bitset<kLetterCount> passLetters_;
  /// statvfs answers of this pass's volume-information questions, for its free-space questions,
  /// by LetterIndex.
  std::array<std::optional<FileSystemStats>, kLetterCount> passAnswers_;
  /// The last statvfs answer of each drive that can hang, by mount key, for drive discovery.
  std::map<std::string, FileSystemStats> lastAnswers_;
  /// Drive discovery is under way (BeginDriveDiscovery to EndDriveDiscovery).
  bool discovering_ = false;
};

}  // namespace volumetra
