#include "platform/cluster_counts.h"

#include <algorithm>
#include <limits>

namespace volumetra {
namespace {

constexpr std::uint64_t kMaxCount = std::numeric_limits<std::int32_t>::max();

}  // namespace

std::int32_t CappedCount(std::uint64_t value) {
  return static_cast<std::int32_t>(std::min(value, kMaxCount));
}

ClusterCounts CountsOfBytes(std::uint64_t bytesPerSector, std::uint64_t sectorsPerCluster,
                            std::uint64_t totalBytes, std::uint64_t freeBytes) {
  sectorsPerCluster = std::max<std::uint64_t>(sectorsPerCluster, 1);
  while (totalBytes / (bytesPerSector * sectorsPerCluster) > kMaxCount &&
         bytesPerSector * sectorsPerCluster * 2 <= kMaxCount)
    sectorsPerCluster *= 2;
  const std::uint64_t clusterBytes = bytesPerSector * sectorsPerCluster;
  ClusterCounts counts;
  counts.sectorsPerCluster = CappedCount(sectorsPerCluster);
  counts.bytesPerSector = CappedCount(bytesPerSector);
  counts.freeClusters = CappedCount(freeBytes / clusterBytes);
  counts.totalClusters = CappedCount(totalBytes / clusterBytes);
  return counts;
}

}  // namespace volumetra
