#pragma once

#include "probe/probe_context.h"

namespace volumetra {

/// One pass over the listed drives: refreshes each drive's record and the three sums, skipping
/// drives marked as timed out, and takes the graph scale from the graph window's slider.
void ProbeDrives(const ProbeContext& probe);

}  // namespace volumetra
