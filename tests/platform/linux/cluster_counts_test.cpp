#include "platform/linux/cluster_counts.h"

#include <gtest/gtest.h>

#include <limits>

namespace volumetra {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::uint64_t kTiB = std::uint64_t{1} << 40;

FileSystemStats Stats(std::uint64_t fragmentSize, std::uint64_t totalBlocks, std::uint64_t availableBlocks) {
  FileSystemStats stats;
  stats.fragmentSize = fragmentSize;
  stats.blockSize = fragmentSize;
  stats.totalBlocks = totalBlocks;
  stats.availableBlocks = availableBlocks;
  return stats;
}

std::int64_t ClusterBytes(const ClusterCounts& c) {
  return std::int64_t{c.sectorsPerCluster} * c.bytesPerSector;
}

TEST(ToClusterCounts, OneClusterPerBlockWhileTheCountsFit) {
  const auto counts = ToClusterCounts(Stats(4096, 1000000, 250000));
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->bytesPerSector, 512);
  EXPECT_EQ(counts->sectorsPerCluster, 8);
  EXPECT_EQ(counts->totalClusters, 1000000);
  EXPECT_EQ(counts->freeClusters, 250000);
}

TEST(ToClusterCounts, LargeVolumesGetLargerClustersAndKeepTheirTotals) {
  for (const std::uint64_t bytes : {8 * kTiB, 100 * kTiB, 3 * kTiB + 12345 * 4096, 1024 * 1024 * kTiB}) {
    const std::uint64_t blocks = bytes / 4096;
    const auto counts = ToClusterCounts(Stats(4096, blocks, blocks / 3));
    ASSERT_TRUE(counts);
    EXPECT_LE(ClusterBytes(*counts), kInt32Max);
    EXPECT_LE(counts->totalClusters, kInt32Max);
    const std::int64_t shownTotal = std::int64_t{counts->totalClusters} * ClusterBytes(*counts);
    const std::int64_t shownFree = std::int64_t{counts->freeClusters} * ClusterBytes(*counts);
    EXPECT_LE(static_cast<std::int64_t>(bytes) - shownTotal, ClusterBytes(*counts)) << bytes;
    EXPECT_GE(static_cast<std::int64_t>(bytes), shownTotal) << bytes;
    EXPECT_LE(static_cast<std::int64_t>(blocks / 3 * 4096) - shownFree, ClusterBytes(*counts)) << bytes;
  }
}

TEST(ToClusterCounts, CapsCountsOnlyBeyondTheLargestCluster) {
  const auto counts = ToClusterCounts(Stats(4096, std::uint64_t{1} << 60, std::uint64_t{1} << 59));
  ASSERT_TRUE(counts);
  EXPECT_EQ(ClusterBytes(*counts), std::int64_t{1} << 30);
  EXPECT_EQ(counts->totalClusters, kInt32Max);
  EXPECT_EQ(counts->freeClusters, kInt32Max);
}

TEST(ToClusterCounts, OddOrMissingBlockSizes) {
  // A block size that is no whole number of sectors counts in sectors.
  const auto odd = ToClusterCounts(Stats(1000, 1024, 512));
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->sectorsPerCluster, 1);
  EXPECT_EQ(odd->totalClusters, 2000);
  EXPECT_EQ(odd->freeClusters, 1000);

  FileSystemStats onlyBlockSize = Stats(0, 10, 5);
  onlyBlockSize.blockSize = 1024;
  const auto fallback = ToClusterCounts(onlyBlockSize);
  ASSERT_TRUE(fallback);
  EXPECT_EQ(ClusterBytes(*fallback), 1024);
  EXPECT_EQ(fallback->totalClusters, 10);

  EXPECT_FALSE(ToClusterCounts(Stats(0, 10, 5)));
}

}  // namespace
}  // namespace volumetra
