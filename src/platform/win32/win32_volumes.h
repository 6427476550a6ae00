#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/volume_service.h"
#include "platform/win32/network_call_guard.h"
#include "platform/win32/volume_calls.h"

namespace volumetra {

/// The volume services on Windows: the Win32 calls the program was designed on. Queries of
/// network drives (type 4), which a dead server can hold for a long time, run under a NetworkCallGuard:
/// such a drive costs the window at most `callLimit` once, then its calls give no answer at once
/// until `coolDown` has passed and the stuck call has returned. Other drives are asked directly.
/// Free space comes from GetDiskFreeSpaceA with counts made right from GetDiskFreeSpaceExA (see
/// FitClusterCounts), so volumes of many terabytes show their true sizes; the byte counts are asked
/// at every call. A drive's label, serial number, file system, type and cluster geometry change
/// only when another volume takes its letter, which drive discovery notices: they are asked once
/// per discovery pass (the first call after ListDrive of the letter) and kept until the next one,
/// as on Linux. Under Wine the label and type calls cost about a millisecond each, more than all
/// the rest of a survey.
class Win32Volumes : public VolumeService {
 public:
  static constexpr std::chrono::milliseconds kDefaultCallLimit{5000};

  explicit Win32Volumes(std::shared_ptr<VolumeCalls> calls = MakeSystemVolumeCalls(),
                        std::chrono::milliseconds callLimit = kDefaultCallLimit,
                        std::chrono::milliseconds coolDown = NetworkCallGuard::kDefaultCoolDown,
                        NetworkCallGuard::SteadyClock clock = std::chrono::steady_clock::now);

  VolumeAnswer GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                    std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                    std::int32_t& fileSystemFlags,
                                    std::string& fileSystemNameBuffer) override;
  VolumeAnswer GetDiskFreeSpace(const std::string& rootPath, std::int32_t& sectorsPerCluster,
                                std::int32_t& bytesPerSector, std::int32_t& freeClusters,
                                std::int32_t& totalClusters) override;
  int GetDriveType(const std::string& rootPath) override;
  /// A listing of the drive's current directory ("L:*"): a first entry, or none in an empty
  /// directory, is a usable drive (named); no drive behind the letter is empty; any other error,
  /// such as a drive without a medium or a network drive that does not answer in time, fails (so
  /// the letter is taken).
  DrivePresence ListDrive(char letter) override;
  /// The share of a network drive ("\\server\share"); empty for other drives.
  std::string DriveDescription(char letter) override;

 private:
  bool IsRemote(const std::string& rootPath);
  /// Runs `query` on the calls, guarded for a network drive; nullopt when it gave no answer.
  template <typename Query>
  auto Ask(const std::string& rootPath, Query query)
      -> std::optional<decltype(query(std::declval<VolumeCalls&>()))>;

  std::shared_ptr<VolumeCalls> calls_;
  NetworkCallGuard guard_;
  /// The drive type each letter had at its last discovery.
  std::map<char, std::uint32_t> types_;
  /// What GetVolumeInformationA told of each letter since its last discovery (nullopt: it failed).
  std::map<char, std::optional<VolumeInformation>> information_;
  /// The cluster geometry GetDiskFreeSpaceA gave for each letter since its last discovery.
  std::map<char, DiskGeometry> geometry_;
};

}  // namespace volumetra
