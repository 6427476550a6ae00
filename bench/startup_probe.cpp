// Times the program's start the way a user sees it: from the launch (the time given as the only
// argument, nanoseconds of the realtime clock, taken by the launching shell) to the first exposed
// window, and to the first paint after the first survey filled the table. The program is built
// as main() builds it, without the look for a running copy. Prints both figures in milliseconds
// and ends through the normal shutdown path.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/form1.h"
#include "app/program.h"
#include "platform/linux/desktop_entry.h"
#include "platform/linux/desktop_services.h"
#include "platform/qt/picture_pixmap.h"
#include "windows/logo.h"

namespace {

double MillisecondsSince(long long launchNs) {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() - launchNs) /
         1e6;
}

class StartWatcher : public QObject {
 public:
  StartWatcher(volumetra::Program& program, long long launchNs) : program_(program), launchNs_(launchNs) {}
  double windowMs = -1;
  double tableMs = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && windowMs < 0) windowMs = MillisecondsSince(launchNs_);
    if (event->type() == QEvent::Paint && tableMs < 0 && program_.loadedForm1() &&
        !program_.form1().StatusBar1.caption().empty()) {
      tableMs = MillisecondsSince(launchNs_);
      QTimer::singleShot(0, [this] { program_.Unload(program_.form1()); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  volumetra::Program& program_;
  long long launchNs_;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace volumetra;
  if (argc != 2) {
    std::fprintf(stderr, "usage: startup_probe <launch time in ns since the epoch>\n");
    return 2;
  }
  const long long launchNs = std::atoll(argv[1]);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setApplicationName(kWindowClass);
  QGuiApplication::setDesktopFileName(kDesktopId);
  QApplication::setWindowIcon(PictureIcon(kLogo, kLogoSize));
  DesktopServices desktop;
  Program program(desktop.services);
  StartWatcher watcher(program, launchNs);
  app.installEventFilter(&watcher);
  program.Start();
  if (!program.Ended()) QApplication::exec();
  std::printf("first window shown: %.1f ms\nfirst filled table: %.1f ms\n", watcher.windowMs,
              watcher.tableMs);
  return 0;
}
