#pragma once

#include <cstdint>

namespace volumetra {

/// A volume's size as GetDiskFreeSpaceA gives it, in the signed 32-bit counts the program reads.
struct ClusterCounts {
  std::int32_t sectorsPerCluster = 0;
  std::int32_t bytesPerSector = 0;
  std::int32_t freeClusters = 0;
  std::int32_t totalClusters = 0;
};

/// The counts of a volume of `totalBytes` with `freeBytes` free to the caller, in sectors of
/// `bytesPerSector` (not 0). A cluster starts at `sectorsPerCluster` sectors (at least one) and
/// doubles until the total fits the signed 32-bit range, so totals stay right to within one
/// cluster even for volumes of many terabytes. Clusters stop growing before bytes per cluster
/// would leave the signed range; only then are the counts capped.
ClusterCounts CountsOfBytes(std::uint64_t bytesPerSector, std::uint64_t sectorsPerCluster,
                            std::uint64_t totalBytes, std::uint64_t freeBytes);

/// `value` capped at the largest signed 32-bit count.
std::int32_t CappedCount(std::uint64_t value);

}  // namespace volumetra
