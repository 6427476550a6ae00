// Volumetra on Linux: the Linux volume, file and clock services, the INI profile and the Qt 6
// windows, beep and timers. The program ends when its main window is unloaded: by the Exit
// button, the close box, a termination signal or the end of the session, all the same way.
// One copy runs per settings file: a later start raises that copy's main window and ends.
#include <QApplication>
#include <QCryptographicHash>
#include <QStandardPaths>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/form1.h"
#include "app/program.h"
#include "platform/linux/desktop_entry.h"
#include "platform/linux/desktop_services.h"
#include "platform/linux/instance_lock.h"
#include "platform/qt/picture_pixmap.h"
#include "platform/qt/running_copy.h"
#include "platform/qt/termination_signals.h"
#include "platform/qt/unsaved_settings.h"
#include "windows/logo.h"

namespace {

using namespace volumetra;

/// How long a later start waits for the running copy to answer: longer than a survey that waits
/// for a dead network volume.
constexpr std::chrono::seconds kRunningCopyPatience{10};

/// The common start of the lock's and the socket's path in the user's runtime directory, one per
/// settings file: a portable copy and an installed one keep their settings apart and may run side
/// by side. Empty when there is no runtime directory.
QString RunningCopyPath(LinuxFiles& files) {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (runtime.isEmpty()) return {};
  const QByteArray settings =
      QByteArray::fromStdString(files.ProgramDirectory() + "/" + files.ExecutableBaseName());
  const QByteArray key = QCryptographicHash::hash(settings, QCryptographicHash::Sha256).toHex().left(16);
  return runtime + "/volumetra-" + QString::fromLatin1(key);
}

/// Brings the main window to the front. A token from the later start lets a Wayland desktop hand
/// this copy the focus.
bool RaiseMainWindow(Program& program, const QByteArray& token) {
  if (!token.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", token);
  return program.RaiseMainWindow();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Hidden windows never end the program; only the main window's unload does.
  QApplication::setQuitOnLastWindowClosed(false);
  // The window class and desktop file name tie the windows to the menu entry; every window
  // carries the about box's logo as its icon.
  QApplication::setApplicationName(kWindowClass);
  QGuiApplication::setDesktopFileName(kDesktopId);
  QApplication::setWindowIcon(PictureIcon(kLogo, kLogoSize));

  LinuxFiles files;
  const QString runningCopy = RunningCopyPath(files);
  std::optional<InstanceLock> lock;
  if (!runningCopy.isEmpty()) lock.emplace((runningCopy + ".lock").toStdString());
  if (lock && lock->heldElsewhere()) {
    const LaterStart later = AskRunningCopyToRaise(
        runningCopy + ".socket", qgetenv("XDG_ACTIVATION_TOKEN"), [&lock] { return lock->tryAgain(); },
        kRunningCopyPatience);
    if (later == LaterStart::Raised) return 0;
    if (later == LaterStart::Unanswered) {
      std::fprintf(
          stderr,
          "volumetra: a copy with the same settings is running but does not answer; not starting another\n");
      return 1;
    }
  } else if (lock && !lock->held()) {
    std::fprintf(stderr, "volumetra: %s; a later start will not find this copy\n", lock->error().c_str());
  }

  DesktopServices desktop;
  Program program(desktop.services);
  std::unique_ptr<RaiseRequestServer> raiseRequests;
  if (lock && lock->held()) {
    raiseRequests = std::make_unique<RaiseRequestServer>(
        runningCopy + ".socket",
        [&program](const QByteArray& token) { return RaiseMainWindow(program, token); });
    if (!raiseRequests->listening())
      std::fprintf(stderr, "volumetra: cannot listen at %s.socket; a later start will wait in vain\n",
                   qPrintable(runningCopy));
  }

  // Set when the program ends other than by the user's own close: a signal or the session's end.
  bool userClosed = true;
  const auto shutDown = [&program, &userClosed] {
    if (program.Ended()) return;
    userClosed = false;
    program.Unload(program.form1());
  };
  const TerminationSignals terminationSignals(shutDown);
  QObject::connect(&app, &QGuiApplication::commitDataRequest, shutDown);
  QObject::connect(&app, &QCoreApplication::aboutToQuit, shutDown);

  program.Start();
  const int exitCode = program.Ended() ? 0 : QApplication::exec();
  TellUnsavedSettings(program.m.Language, program.settingsState.SettingsSaveError, userClosed);
  return exitCode;
}
