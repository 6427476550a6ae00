#include "platform/win32/cluster_counts.h"

namespace volumetra {

ClusterCounts FitClusterCounts(const DiskGeometry& geometry, const std::optional<DiskBytes>& bytes) {
  if (!bytes || geometry.bytesPerSector == 0) {
    return ClusterCounts{CappedCount(geometry.sectorsPerCluster), CappedCount(geometry.bytesPerSector),
                         CappedCount(geometry.freeClusters), CappedCount(geometry.totalClusters)};
  }
  return CountsOfBytes(geometry.bytesPerSector, geometry.sectorsPerCluster, bytes->total,
                       bytes->availableToCaller);
}

}  // namespace volumetra
