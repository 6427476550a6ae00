#pragma once

#include <cstdint>
#include <optional>

#include "platform/win32/volume_calls.h"

namespace volumetra {

/// GetDiskFreeSpaceA's answer in the form the program reads it: signed 32-bit counts.
struct SignedClusterCounts {
  std::int32_t sectorsPerCluster = 0;
  std::int32_t bytesPerSector = 0;
  std::int32_t freeClusters = 0;
  std::int32_t totalClusters = 0;
};

/// The cluster counts of `geometry` made right for signed 32-bit readers. The counts GetDiskFreeSpaceA
/// gives are unsigned, and some systems cap them or pass on only their low 32 bits; so when the
/// volume's byte counts are known (`bytes`, from GetDiskFreeSpaceExA) the counts are taken from
/// them, and the cluster is doubled until the total fits the signed range (as on Linux), so that
/// totals stay right to within one cluster. Clusters stop growing before bytes per cluster would
/// leave the signed range; only then are the counts capped. Without byte counts the counts are
/// capped at the signed maximum, never read as negative.
SignedClusterCounts FitClusterCounts(const DiskGeometry& geometry, const std::optional<DiskBytes>& bytes);

}  // namespace volumetra
