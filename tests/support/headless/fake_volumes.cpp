#include "support/headless/fake_volumes.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace volumetra {

FakeVolume& FakeVolumes::add(char letter, double totalMB, double freeMB, std::string label, int driveType,
                             std::string fileSystem) {
  FakeVolume v;
  v.label = std::move(label);
  v.driveType = driveType;
  v.fileSystemName = std::move(fileSystem);
  // As on a real volume, clusters grow until the total fits the signed 32-bit count.
  double clustersPerMB = 256;
  while (std::max(totalMB, freeMB) * clustersPerMB > 2147483647.0) {
    v.sectorsPerCluster *= 2;
    clustersPerMB /= 2;
  }
  v.totalClusters = static_cast<std::int32_t>(std::llround(totalMB * clustersPerMB));
  v.freeClusters = static_cast<std::int32_t>(std::llround(freeMB * clustersPerMB));
  return volumes_[static_cast<char>(std::toupper(letter))] = v;
}

FakeVolume* FakeVolumes::find(const std::string& rootPath) {
  if (rootPath.empty()) return nullptr;
  auto it = volumes_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(rootPath[0]))));
  return it == volumes_.end() ? nullptr : &it->second;
}

VolumeAnswer FakeVolumes::GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                               std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                               std::int32_t& fileSystemFlags,
                                               std::string& fileSystemNameBuffer) {
  ++volumeInfoCalls;
  FakeVolume* v = find(rootPath);
  if (v) loop_.spend(v->volumeInfoMs);
  if (v && v->silent) return VolumeAnswer::NoAnswer;
  if (!v || v->volumeInfoFails) return VolumeAnswer::Failed;
  CopyIntoBuffer(v->label, volumeNameBuffer);
  CopyIntoBuffer(v->fileSystemName, fileSystemNameBuffer);
  serialNumber = static_cast<std::int32_t>(v->serialNumber);
  maxComponentLength = v->maxComponentLength;
  fileSystemFlags = v->fileSystemFlags;
  return VolumeAnswer::Answered;
}

VolumeAnswer FakeVolumes::GetDiskFreeSpace(const std::string& rootPath, std::int32_t& sectorsPerCluster,
                                           std::int32_t& bytesPerSector, std::int32_t& freeClusters,
                                           std::int32_t& totalClusters) {
  ++freeSpaceCalls;
  FakeVolume* v = find(rootPath);
  if (v) loop_.spend(v->freeSpaceMs);
  if (v && v->silent) return VolumeAnswer::NoAnswer;
  if (!v || v->freeSpaceFails) return VolumeAnswer::Failed;
  sectorsPerCluster = v->sectorsPerCluster;
  bytesPerSector = v->bytesPerSector;
  freeClusters = v->freeClusters;
  totalClusters = v->totalClusters;
  return VolumeAnswer::Answered;
}

int FakeVolumes::GetDriveType(const std::string& rootPath) {
  ++driveTypeCalls;
  FakeVolume* v = find(rootPath);
  return v ? v->driveType : 1;
}

DrivePresence FakeVolumes::ListDrive(char letter) {
  ++listCalls;
  auto it = volumes_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  return it == volumes_.end() ? DrivePresence::Empty : it->second.presence;
}

std::string FakeVolumes::DriveDescription(char letter) {
  auto it = volumes_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  return it == volumes_.end() ? std::string() : it->second.description;
}

}  // namespace volumetra
