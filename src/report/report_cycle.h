#pragma once

namespace volumetra {

class Program;

/// Turns the last probe pass into the table cells, sums, status line, colours, alarms, graph bars
/// and, when a log write is due, the log lines.
void RunReportCycle(Program& program);

}  // namespace volumetra
