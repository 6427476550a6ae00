#pragma once

namespace volumetra {

class Program;

/// Appends the log line of drive position `position` to the log file.
void AppendLogLine(Program& program, int position);
/// Closes the log file if it is open (it is open only while a line is written).
void CloseLogFile(Program& program);

}  // namespace volumetra
