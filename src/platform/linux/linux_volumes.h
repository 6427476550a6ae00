#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/call_guard.h"
#include "platform/linux/drive_letters.h"
#include "platform/linux/mount_table.h"
#include "platform/linux/system_calls.h"
#include "platform/volume_service.h"

namespace volumetra {

/// The volume services on Linux: the root file system is drive C:, other mounted disks, network
/// shares, FUSE file systems and RAM disks get the letters D: to Z: in mount order, each keeping
/// its letter while it stays mounted. The mount table is read again by ListDrive('C'), which drive
/// discovery calls first in every pass, and on first use. Queries that touch a file system run
/// under a CallGuard, so a dead server costs at most `callLimit` once and then fails at once until
/// its stuck call returns; drive discovery itself never touches a file system.
class LinuxVolumes : public VolumeService {
 public:
  static constexpr std::chrono::milliseconds kDefaultCallLimit{5000};

  explicit LinuxVolumes(std::shared_ptr<LinuxSystemCalls> system = MakeLinuxSystemCalls(),
                        std::chrono::milliseconds callLimit = kDefaultCallLimit);

  bool GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                            std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                            std::int32_t& fileSystemFlags, std::string& fileSystemNameBuffer) override;
  bool GetDiskFreeSpace(const std::string& rootPath, std::int32_t& sectorsPerCluster,
                        std::int32_t& bytesPerSector, std::int32_t& freeClusters,
                        std::int32_t& totalClusters) override;
  int GetDriveType(const std::string& rootPath) override;
  DrivePresence ListDrive(char letter) override;

  /// The directory drive `letter` stands for; empty when the letter is not in use.
  std::string MountPointOf(char letter);

  /// Worker threads started for guarded calls so far.
  int GuardWorkersStarted() const { return guard_.WorkersStarted(); }

 private:
  void ReadMountTable();
  const DriveMount* DriveFor(char letter);
  const DriveMount* DriveForRootPath(const std::string& rootPath);
  std::optional<FileSystemStats> GuardedStats(const DriveMount& drive);

  std::shared_ptr<LinuxSystemCalls> system_;
  CallGuard guard_;
  bool tableRead_ = false;
  DriveLetterMap letters_;
  std::map<char, DriveMount> drives_;
};

}  // namespace volumetra
