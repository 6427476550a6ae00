#include "platform/win32/cluster_counts.h"

#include <algorithm>
#include <limits>

namespace volumetra {
namespace {

constexpr std::uint64_t kMaxSigned = std::numeric_limits<std::int32_t>::max();

std::int32_t Capped(std::uint64_t value) {
  return static_cast<std::int32_t>(std::min(value, kMaxSigned));
}

}  // namespace

SignedClusterCounts FitClusterCounts(const DiskGeometry& geometry, const std::optional<DiskBytes>& bytes) {
  std::uint64_t sectorsPerCluster = std::max<std::uint32_t>(geometry.sectorsPerCluster, 1);
  const std::uint64_t bytesPerSector = geometry.bytesPerSector;
  SignedClusterCounts counts;
  counts.bytesPerSector = Capped(bytesPerSector);
  if (!bytes || bytesPerSector == 0) {
    counts.sectorsPerCluster = Capped(geometry.sectorsPerCluster);
    counts.freeClusters = Capped(geometry.freeClusters);
    counts.totalClusters = Capped(geometry.totalClusters);
    return counts;
  }
  while (bytes->total / (bytesPerSector * sectorsPerCluster) > kMaxSigned &&
         bytesPerSector * sectorsPerCluster * 2 <= kMaxSigned)
    sectorsPerCluster *= 2;
  const std::uint64_t clusterBytes = bytesPerSector * sectorsPerCluster;
  counts.sectorsPerCluster = Capped(sectorsPerCluster);
  counts.freeClusters = Capped(bytes->availableToCaller / clusterBytes);
  counts.totalClusters = Capped(bytes->total / clusterBytes);
  return counts;
}

}  // namespace volumetra
