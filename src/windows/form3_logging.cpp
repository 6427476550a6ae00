// The logging boxes of the options dialog: logging on or off, and the log interval as one choice
// of three that the dialog's own timer keeps in step with the main window's log timer.
#include "app/form1.h"
#include "app/program.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

constexpr int kEverySecond = 1000;
constexpr int kEveryMinute = 60000;

void CheckIfClear(Control& box) {
  if (box.value() == kUnchecked) box.setValue(kChecked);
}

void ClearIfChecked(Control& box) {
  if (box.value() == kChecked) box.setValue(kUnchecked);
}

}  // namespace

void Form3::noteLoggingChange() {
  loggingChanged_ = true;
  Timer2.setIdle(false);
}

void Form3::Check1_Click() {
  noteLoggingChange();
  const bool on = Check1.value() != kUnchecked;
  program_.m.LoggingOn = on;
  // The log timer idles while logging is off; its ticks count again from now.
  if (on) program_.form1().Timer4.setIdle(false);
  for (Control* box : {&Check6, &Check7, &Check8}) box->setEnabled(on);
}

void Form3::Check6_Click() {
  noteLoggingChange();
  if (Check6.value() == kChecked) program_.form1().Timer4.setInterval(kEverySecond);
}

void Form3::Check7_Click() {
  noteLoggingChange();
  if (Check7.value() == kChecked) program_.form1().Timer4.setInterval(kEveryMinute);
}

void Form3::Check8_Click() {
  noteLoggingChange();
  Form1& main = program_.form1();
  if (Check8.value() == kChecked) main.Timer4.setInterval(main.Timer1.interval());
}

void Form3::Timer2_Timer() {
  // Every change below runs a click handler, which notes it. A tick that changes nothing leaves
  // the boxes, the logging state and the log interval as the next tick would find and leave them,
  // so the timer idles until a logging box changes.
  loggingChanged_ = false;
  const Module1& m = program_.m;
  if (Check1.value() == kUnchecked && m.LoggingOn) Check1.setValue(kChecked);
  if (Check1.value() == kChecked && !m.LoggingOn) Check1.setValue(kUnchecked);
  // Each step reads the interval anew: a click handler run by the step before may have changed it.
  const Timer& logTimer = program_.form1().Timer4;
  if (logTimer.interval() == kEverySecond) {
    CheckIfClear(Check6);
    ClearIfChecked(Check7);
    ClearIfChecked(Check8);
  }
  if (logTimer.interval() == kEveryMinute) {
    ClearIfChecked(Check6);
    CheckIfClear(Check7);
    ClearIfChecked(Check8);
  }
  const auto neither = [&logTimer] {
    return logTimer.interval() != kEverySecond && logTimer.interval() != kEveryMinute;
  };
  if (neither()) {
    CheckIfClear(Check8);
    if (neither()) ClearIfChecked(Check6);
    if (neither()) ClearIfChecked(Check7);
  }
  if (!loggingChanged_) Timer2.setIdle(true);
}

}  // namespace volumetra
