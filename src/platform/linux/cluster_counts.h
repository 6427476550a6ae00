#pragma once

#include <cstdint>
#include <optional>

#include "platform/linux/system_calls.h"

namespace volumetra {

/// The answer of GetDiskFreeSpaceA.
struct ClusterCounts {
  std::int32_t sectorsPerCluster = 0;
  std::int32_t bytesPerSector = 0;
  std::int32_t freeClusters = 0;
  std::int32_t totalClusters = 0;
};

/// Turns statvfs figures into sectors of 512 bytes and clusters. A cluster starts as one
/// file-system block (when that is a whole power-of-two number of sectors) and doubles until the
/// counts fit the signed 32-bit range, so totals stay right to within one cluster even for volumes
/// of many terabytes. Clusters stop growing at 1 GiB, where bytes per cluster would leave the
/// signed 32-bit range; only beyond about 2 EiB are the counts capped. nullopt when the block
/// size is 0.
std::optional<ClusterCounts> ToClusterCounts(const FileSystemStats& stats);

}  // namespace volumetra
