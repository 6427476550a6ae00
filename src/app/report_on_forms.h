#pragma once

namespace volumetra {

class Program;

/// Runs the report cycle on the main and graph windows' controls (the graph window is loaded when
/// it is not), with the program's services.
void ReportOnForms(Program& program);

}  // namespace volumetra
