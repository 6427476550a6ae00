#pragma once

#include <optional>

#include "platform/cluster_counts.h"
#include "platform/win32/volume_calls.h"

namespace volumetra {

/// The cluster counts of `geometry` made right for signed 32-bit readers. The counts GetDiskFreeSpaceA
/// gives are unsigned, and some systems cap them or pass on only their low 32 bits; so when the
/// volume's byte counts are known (`bytes`, from GetDiskFreeSpaceExA) the counts are taken from
/// them, with clusters as large as the totals need (CountsOfBytes, as on Linux). Without byte
/// counts the call's counts are capped at the signed maximum, never read as negative.
ClusterCounts FitClusterCounts(const DiskGeometry& geometry, const std::optional<DiskBytes>& bytes);

}  // namespace volumetra
