#include "platform/qt/qt_machine.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <cmath>

namespace volumetra {

namespace {

QtMessageHandler gStandardHandler = nullptr;

// The offscreen platform cannot raise windows and says so on every activation.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("does not support raise()"))) return;
  if (gStandardHandler) gStandardHandler(type, context, message);
}

QApplication* gApplication = nullptr;

// The application goes at the end of the test run, as a program's does at its end, so that Qt
// releases what it holds (font configuration included).
class ApplicationTeardown : public ::testing::Environment {
 public:
  void TearDown() override {
    delete gApplication;
    gApplication = nullptr;
  }
};

[[maybe_unused]] const ::testing::Environment* const kTeardown =
    ::testing::AddGlobalTestEnvironment(new ApplicationTeardown);

}  // namespace

void EnsureQtApplication() {
  if (gApplication) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "volumetra_qt_tests";
  static char* argv[] = {name, nullptr};
  gApplication = new QApplication(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  gStandardHandler = qInstallMessageHandler(QuietMessages);
}

void ProcessQtEvents() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int ScreenPixels(double twips) {
  return static_cast<int>(
      std::lround(twips * QGuiApplication::primaryScreen()->logicalDotsPerInch() / 1440.0));
}

QtMachine::QtMachine(TimerHost* timers)
    : TestMachine({.platform = "Linux", .timers = timers}, ScriptedVolumes) {}

QtMachine::~QtMachine() {
  program.reset();
  ProcessQtEvents();
}

Program& QtMachine::start() {
  program->Start();
  ProcessQtEvents();
  return *program;
}

QtFormView& QtMachine::view(const Form& form) const {
  auto* view = dynamic_cast<QtFormView*>(form.view());
  if (!view) throw std::logic_error(form.name() + " has no Qt view");
  return *view;
}

}  // namespace volumetra
