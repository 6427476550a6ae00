// Volumetra on Linux: the Linux volume, file and clock services, the INI profile and the Qt 6
// windows, beep and timers. The program ends when its main window is unloaded: by the Exit
// button, the close box, a termination signal or the end of the session, all the same way.
#include <QApplication>

#include "app/form1.h"
#include "app/program.h"
#include "platform/ini_profile.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_volumes.h"
#include "platform/qt/qt_beep.h"
#include "platform/qt/qt_timer_host.h"
#include "platform/qt/qt_window_system.h"
#include "platform/qt/termination_signals.h"

int main(int argc, char** argv) {
  using namespace volumetra;
  QApplication app(argc, argv);
  // Hidden windows never end the program; only the main window's unload does.
  QApplication::setQuitOnLastWindowClosed(false);

  LinuxVolumes volumes;
  LinuxFiles files;
  IniProfile profile;
  LinuxClock clock;
  QtBeep beep;
  QtTimerHost timers;
  QtWindowSystem windows;
  Services services{volumes, files, profile, clock, beep, timers, windows};
  Program program(services);

  const auto shutDown = [&program] {
    if (!program.Ended()) program.Unload(program.form1());
  };
  const TerminationSignals terminationSignals(shutDown);
  QObject::connect(&app, &QGuiApplication::commitDataRequest, shutDown);
  QObject::connect(&app, &QCoreApplication::aboutToQuit, shutDown);

  program.Start();
  return program.Ended() ? 0 : QApplication::exec();
}
