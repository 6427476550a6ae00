// Volumetra on Linux: the Linux volume, file and clock services, the INI profile and the Qt 6
// windows, beep and timers. The program ends when its main window is unloaded: by the Exit
// button, the close box, a termination signal or the end of the session, all the same way.
#include <QApplication>

#include "app/form1.h"
#include "app/program.h"
#include "platform/linux/desktop_services.h"
#include "platform/qt/termination_signals.h"

int main(int argc, char** argv) {
  using namespace volumetra;
  QApplication app(argc, argv);
  // Hidden windows never end the program; only the main window's unload does.
  QApplication::setQuitOnLastWindowClosed(false);

  DesktopServices desktop;
  Program program(desktop.services);

  const auto shutDown = [&program] {
    if (!program.Ended()) program.Unload(program.form1());
  };
  const TerminationSignals terminationSignals(shutDown);
  QObject::connect(&app, &QGuiApplication::commitDataRequest, shutDown);
  QObject::connect(&app, &QCoreApplication::aboutToQuit, shutDown);

  program.Start();
  return program.Ended() ? 0 : QApplication::exec();
}
