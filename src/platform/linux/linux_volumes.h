#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/call_guard.h"
#include "platform/linux/drive_letters.h"
#include "platform/linux/mount_table.h"
#include "platform/linux/system_calls.h"
#include "platform/linux/volume_identity.h"
#include "platform/volume_service.h"

namespace volumetra {

/// The volume services on Linux: the root file system is drive C:, other mounted disks, network
/// shares, FUSE file systems and RAM disks get the letters D: to Z: in mount order, each keeping
/// its letter while it stays mounted. The mount table is read again by ListDrive('C'), which drive
/// discovery calls first in every pass, and on first use; drive discovery itself never touches a
/// file system. Queries of mounts that can hang (network, FUSE and cluster file systems) run under a
/// CallGuard: a dead or very slow server costs at most `callLimit` once, then its calls fail at
/// once until `coolDown` has passed and its stuck call has returned. Other mounts are asked on the
/// calling thread, except for the label and serial lookup, which can read the medium. That lookup
/// is made once per mount table read: its answer is kept until ListDrive('C') reads the table again.
class LinuxVolumes : public VolumeService {
 public:
  static constexpr std::chrono::milliseconds kDefaultCallLimit{5000};

  explicit LinuxVolumes(std::shared_ptr<LinuxSystemCalls> system = MakeLinuxSystemCalls(),
                        std::chrono::milliseconds callLimit = kDefaultCallLimit,
                        std::chrono::milliseconds coolDown = CallGuard::kDefaultCoolDown,
                        CallGuard::SteadyClock clock = std::chrono::steady_clock::now);

  VolumeAnswer GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                    std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                    std::int32_t& fileSystemFlags,
                                    std::string& fileSystemNameBuffer) override;
  VolumeAnswer GetDiskFreeSpace(const std::string& rootPath, std::int32_t& sectorsPerCluster,
                                std::int32_t& bytesPerSector, std::int32_t& freeClusters,
                                std::int32_t& totalClusters) override;
  int GetDriveType(const std::string& rootPath) override;
  DrivePresence ListDrive(char letter) override;

  /// The directory drive `letter` stands for; empty when the letter is not in use.
  std::string MountPointOf(char letter);

  /// Worker threads started for guarded calls so far.
  int GuardWorkersStarted() const { return guard_.WorkersStarted(); }
  /// Guarded calls that ran out of time and have not returned yet.
  int StuckGuardedCalls() const { return guard_.StuckCalls(); }

 private:
  void ReadMountTable();
  const DriveMount* DriveFor(char letter);
  const DriveMount* DriveForRootPath(const std::string& rootPath);
  template <typename Query>
  std::invoke_result_t<Query&, LinuxSystemCalls&, const DriveMount&> RunQuery(const DriveMount& drive,
                                                                              bool readsMedium, Query query,
                                                                              VolumeAnswer& answer);

  std::shared_ptr<LinuxSystemCalls> system_;
  CallGuard guard_;
  bool tableRead_ = false;
  DriveLetterMap letters_;
  std::map<char, DriveMount> drives_;
  /// Label and serial number by mount key, looked up since the mount table was last read.
  std::map<std::string, VolumeIdentity> identities_;
};

}  // namespace volumetra
