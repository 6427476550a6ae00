// The run-cycle timers of the main window: survey, housekeeping, log due and time-out reset.
#include "app/form1.h"
#include "app/program.h"
#include "app/report_on_forms.h"
#include "probe/probe_pass.h"
#include "windows/form2.h"

namespace volumetra {

void Form1::Timer1_Timer() {
  if (program_.m.Running) Timer1.setInterval(Slider1.value() + 1);
  ProbeDrives(program_.probeContext());
  ReportOnForms(program_);
}

void Form1::Timer3_Timer() {
  // The housekeeping tick always runs, and no form handler is on the stack here.
  program_.CollectUnloaded();
  if (Timer2.interval() < 10000) Timer2.setInterval(10000);
  if (!program_.m.LinkGraph) return;
  Form2& graph = program_.form2();
  if (graph.windowState() != WindowState::Normal) return;
  const float linkedTop = top() + 240;
  if (graph.top() != linkedTop) graph.setTop(linkedTop);
}

void Form1::Timer4_Timer() {
  if (program_.m.LoggingOn) program_.m.LogDue = true;
  // With logging off a tick changes nothing; switching logging on wakes the timer.
  Timer4.setIdle(!program_.m.LoggingOn);
}

void Form1::Timer5_Timer() {
  Module1& m = program_.m;
  m.TimedOutLetters.clear();
  for (int k = 1; k < kDriveRecCount; ++k) m.DriveRecs[k].TimeoutMark.clear();
}

}  // namespace volumetra
