#pragma once

namespace volumetra {

class Program;

/// One pass over the listed drives: refreshes each drive's record and the three sums, skipping
/// drives marked as timed out, and takes the graph scale from the graph window's slider.
void ProbeDrives(Program& program);

}  // namespace volumetra
