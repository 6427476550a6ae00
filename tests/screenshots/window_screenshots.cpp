// Screenshots of every window of the program as the window system shows it, frame included: the
// main window, the graph window, each page of the options dialog and the about box, in English and
// in German, on a fake machine with today's disks and a fixed date. Runs on a real display with a
// window manager (scripts/screenshots.sh starts both).
// Usage: volumetra_screenshots <directory>
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/form1.h"
#include "app/program.h"
#include "platform/linux/desktop_entry.h"
#include "platform/qt/qt_form_view.h"
#include "platform/qt/qt_window_system.h"
#include "screenshots/screenshot_plan.h"
#include "support/machine/test_machine.h"
#include "support/todays_drives.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/frm_splash.h"

namespace volumetra {
namespace {

using screenshots::kLanguages;
using screenshots::kOptionPages;
using screenshots::Language;

// Lets the window manager map, frame and raise what was shown, in real time; the program's own
// timers run on the fake machine's virtual clock and do not move meanwhile.
void Settle() {
  QElapsedTimer elapsed;
  elapsed.start();
  while (elapsed.elapsed() < 400) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

QWidget& WindowOf(const Form& form) {
  return *static_cast<QtFormView*>(form.view())->window();
}

// The window with its frame, as the screen shows it, brought to the front first.
bool Save(const Form& form, const std::string& path) {
  QWidget& window = WindowOf(form);
  window.raise();
  window.activateWindow();
  Settle();
  const QRect frame = window.frameGeometry();
  const QPixmap shot = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  if (shot.isNull() || !shot.save(QString::fromStdString(path))) {
    std::fprintf(stderr, "volumetra_screenshots: could not save %s\n", path.c_str());
    return false;
  }
  std::printf("%s\n", path.c_str());
  return true;
}

bool ShootLanguage(const Language& language, const std::string& directory) {
  TestMachine<FakeVolumes, QtWindowSystem> fake({.platform = "Linux"}, ScriptedVolumes);
  AddTodaysDrives(fake.volumes);
  // The graph window opens beside the main window, not over it.
  std::ofstream(fake.iniPath()) << "[System]\nLanguage=" << language.name
                                << "\nWindow1XPos=300\nWindow1YPos=300\nWindow2XPos=10500\nWindow2YPos="
                                   "540\nReportFileDir=/home/user/volumetra/\n";
  Program& program = fake.start();
  fake.advance(1200);  // two surveys
  const std::string suffix = std::string("-") + language.fileSuffix + ".png";
  bool saved = Save(program.form1(), directory + "/main-window" + suffix);
  program.form1().Command5.Click();  // the graph window
  fake.advance(600);
  saved = Save(program.form2(), directory + "/graph-window" + suffix) && saved;
  program.form1().Command4.Click();  // the options dialog
  Form3& options = program.form3();
  for (int page = 0; page < 4; ++page) {
    options.SSTab1.setValue(page);
    saved = Save(options, directory + "/options-" + kOptionPages[page] + suffix) && saved;
  }
  program.Unload(options);
  program.form1().Command3.Click();  // the about box
  saved = Save(program.frmSplash(), directory + "/about-box" + suffix) && saved;
  program.Unload(program.frmSplash());
  program.Unload(program.form1());
  program.CollectUnloaded();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return saved;
}

}  // namespace
}  // namespace volumetra

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: volumetra_screenshots <directory>\n");
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  // Named as the program names itself: a window without a title shows that name.
  QApplication::setApplicationName(volumetra::kWindowClass);
  bool saved = true;
  for (const volumetra::screenshots::Language& language : volumetra::screenshots::kLanguages) {
    saved = volumetra::ShootLanguage(language, argv[1]) && saved;
  }
  return saved ? 0 : 1;
}
