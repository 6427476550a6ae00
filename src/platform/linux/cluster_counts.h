#pragma once

#include <optional>

#include "platform/cluster_counts.h"
#include "platform/linux/system_calls.h"

namespace volumetra {

/// Turns statvfs figures into sectors of 512 bytes and clusters. A cluster starts as one
/// file-system block (when that is a whole power-of-two number of sectors) and doubles until the
/// counts fit the signed 32-bit range, so totals stay right to within one cluster even for volumes
/// of many terabytes. Clusters stop growing at 1 GiB, where bytes per cluster would leave the
/// signed 32-bit range; only beyond about 2 EiB are the counts capped. nullopt when the block
/// size is 0.
std::optional<ClusterCounts> ToClusterCounts(const FileSystemStats& stats);

}  // namespace volumetra
