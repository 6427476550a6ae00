#include "platform/linux/cluster_counts.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace volumetra {
namespace {

constexpr std::uint64_t kBytesPerSector = 512;
// 512 * 2^21 = 1 GiB; one more doubling would not fit a signed 32-bit bytes-per-cluster.
constexpr std::uint64_t kMaxSectorsPerCluster = std::uint64_t{1} << 21;

std::uint64_t SaturatingProduct(std::uint64_t a, std::uint64_t b) {
  std::uint64_t product = 0;
  return __builtin_mul_overflow(a, b, &product) ? std::numeric_limits<std::uint64_t>::max() : product;
}

std::uint64_t InitialSectorsPerCluster(std::uint64_t blockBytes) {
  if (blockBytes % kBytesPerSector != 0 || !std::has_single_bit(blockBytes)) return 1;
  return std::min(blockBytes / kBytesPerSector, kMaxSectorsPerCluster);
}

}  // namespace

std::optional<ClusterCounts> ToClusterCounts(const FileSystemStats& stats) {
  const std::uint64_t blockBytes = stats.fragmentSize != 0 ? stats.fragmentSize : stats.blockSize;
  if (blockBytes == 0) return std::nullopt;
  return CountsOfBytes(kBytesPerSector, InitialSectorsPerCluster(blockBytes),
                       SaturatingProduct(stats.totalBlocks, blockBytes),
                       SaturatingProduct(stats.availableBlocks, blockBytes));
}

}  // namespace volumetra
