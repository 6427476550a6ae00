// Stand-in until the report cycle is built.
#include "report/report_cycle.h"

namespace volumetra {

void RunReportCycle(Program&) {}

}  // namespace volumetra
