#include "platform/win32/cluster_counts.h"

#include <gtest/gtest.h>

namespace volumetra {
namespace {

constexpr std::uint64_t kTiB = std::uint64_t{1} << 40;
constexpr std::int64_t kMaxSigned = 2147483647;

double TotalBytes(const ClusterCounts& c) {
  return static_cast<double>(c.totalClusters) * c.sectorsPerCluster * c.bytesPerSector;
}
double FreeBytes(const ClusterCounts& c) {
  return static_cast<double>(c.freeClusters) * c.sectorsPerCluster * c.bytesPerSector;
}

TEST(FitClusterCounts, KeepsTheCallsOwnAnswerWhenItsCountsFit) {
  const DiskGeometry geometry{8, 512, 1'000'000, 25'000'000};
  const ClusterCounts c = FitClusterCounts(geometry, DiskBytes{1'000'000ull * 4096, 25'000'000ull * 4096});
  EXPECT_EQ(c.sectorsPerCluster, 8);
  EXPECT_EQ(c.bytesPerSector, 512);
  EXPECT_EQ(c.freeClusters, 1'000'000);
  EXPECT_EQ(c.totalClusters, 25'000'000);
}

TEST(FitClusterCounts, ClustersBeyondTheSignedRangeBecomeLargerClustersWithTheSameTotals) {
  // 9 TiB in 4 KiB clusters: 2.4e9 clusters, which a signed reader would take for a negative number.
  const std::uint64_t total = 9 * kTiB;
  const std::uint64_t available = 7 * kTiB;
  const DiskGeometry geometry{8, 512, static_cast<std::uint32_t>(available / 4096),
                              static_cast<std::uint32_t>(total / 4096)};
  const ClusterCounts c = FitClusterCounts(geometry, DiskBytes{available, total});
  EXPECT_EQ(c.sectorsPerCluster, 16);
  EXPECT_GT(c.totalClusters, 0);
  EXPECT_LE(c.totalClusters, kMaxSigned);
  EXPECT_DOUBLE_EQ(TotalBytes(c), static_cast<double>(total));
  EXPECT_DOUBLE_EQ(FreeBytes(c), static_cast<double>(available));
}

TEST(FitClusterCounts, CountsCutToTheirLow32BitsAreTakenFromTheByteCounts) {
  // 20 TiB: 5.4e9 clusters of 4 KiB; a call that keeps only the low 32 bits reports 1.1e9 of them.
  const std::uint64_t total = 20 * kTiB;
  const DiskGeometry truncated{8, 512, 12345, static_cast<std::uint32_t>((total / 4096) & 0xFFFFFFFFu)};
  const ClusterCounts c = FitClusterCounts(truncated, DiskBytes{3 * kTiB, total});
  EXPECT_DOUBLE_EQ(TotalBytes(c), static_cast<double>(total));
  EXPECT_DOUBLE_EQ(FreeBytes(c), static_cast<double>(3 * kTiB));
  EXPECT_EQ(c.sectorsPerCluster, 32);
}

TEST(FitClusterCounts, TotalsStayRightToWithinOneClusterForUnevenSizes) {
  const std::uint64_t total = 10 * kTiB + 12345 * 512;
  const ClusterCounts c = FitClusterCounts(DiskGeometry{8, 512, 0, 0}, DiskBytes{total - 4096, total});
  const double cluster = static_cast<double>(c.sectorsPerCluster) * c.bytesPerSector;
  EXPECT_LE(static_cast<double>(total) - TotalBytes(c), cluster);
  EXPECT_GE(static_cast<double>(total) - TotalBytes(c), 0);
}

TEST(FitClusterCounts, WithoutByteCountsTheCountsAreCappedNeverNegative) {
  const ClusterCounts c =
      FitClusterCounts(DiskGeometry{8, 512, 3'000'000'000u, 4'000'000'000u}, std::nullopt);
  EXPECT_EQ(c.freeClusters, kMaxSigned);
  EXPECT_EQ(c.totalClusters, kMaxSigned);
  EXPECT_EQ(c.sectorsPerCluster, 8);
}

TEST(FitClusterCounts, ClustersStopGrowingWhereBytesPerClusterWouldLeaveTheSignedRange) {
  // 2^70 bytes cannot be counted in signed 32-bit clusters of at most 1 GiB: the count is capped.
  const std::uint64_t huge = std::uint64_t{1} << 62;
  const ClusterCounts c = FitClusterCounts(DiskGeometry{1, 512, 0, 0}, DiskBytes{huge, huge});
  EXPECT_EQ(static_cast<std::int64_t>(c.sectorsPerCluster) * c.bytesPerSector, std::int64_t{1} << 30);
  EXPECT_EQ(c.totalClusters, kMaxSigned);
}

}  // namespace
}  // namespace volumetra
