#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/volume_buffer.h"
#include "platform/volume_service.h"
#include "support/headless/virtual_event_loop.h"

namespace volumetra {

/// One scripted volume of the fake machine.
struct FakeVolume {
  std::string label;
  std::uint32_t serialNumber = 0x12345678;
  std::int32_t maxComponentLength = 255;
  std::int32_t fileSystemFlags = 0;
  std::string fileSystemName = "NTFS";
  int driveType = 3;
  std::int32_t sectorsPerCluster = 8;
  std::int32_t bytesPerSector = 512;
  std::int32_t freeClusters = 0;
  std::int32_t totalClusters = 0;
  DrivePresence presence = DrivePresence::Named;
  bool volumeInfoFails = false;
  bool freeSpaceFails = false;
  /// The volume does not answer at all, as a dead server: queries give no answer.
  bool silent = false;
  /// What DriveDescription tells about it.
  std::string description;
  /// Virtual time each volume-information call takes.
  std::int64_t volumeInfoMs = 0;
  /// Virtual time each free-space call takes.
  std::int64_t freeSpaceMs = 0;
};

/// The volume services of a scripted machine, for tests. Letters without a volume answer like
/// Windows does for an unused letter: an empty listing, failed queries, type code 1.
class FakeVolumes : public VolumeService {
 public:
  explicit FakeVolumes(VirtualEventLoop& loop) : loop_(loop) {}

  /// Adds or replaces the volume of `letter`, sized in MB (4096-byte clusters, 256 per MB; larger
  /// ones on volumes too large for a 32-bit count of those).
  FakeVolume& add(char letter, double totalMB, double freeMB, std::string label = "", int driveType = 3,
                  std::string fileSystem = "NTFS");
  FakeVolume& at(char letter) { return volumes_.at(letter); }
  void remove(char letter) { volumes_.erase(letter); }
  void clear() { volumes_.clear(); }

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
  void BeginProbePass(const std::string& letters) override {
    ++probePasses;
    lastProbePass = letters;
  }

  /// Calls made, by kind, since the fake was made.
  int volumeInfoCalls = 0;
  int freeSpaceCalls = 0;
  int driveTypeCalls = 0;
  int listCalls = 0;
  int probePasses = 0;
  /// The letters the last probe pass announced it would ask.
  std::string lastProbePass;

 private:
  FakeVolume* find(const std::string& rootPath);

  VirtualEventLoop& loop_;
  std::map<char, FakeVolume> volumes_;
};

}  // namespace volumetra
