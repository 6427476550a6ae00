#include "platform/qt/qt_window_system.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/qt_form_view.h"

namespace volumetra {
namespace {

constexpr double kDefaultDpi = 96;

double LogicalDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInch() : kDefaultDpi;
}

QSize ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(1920, 1080);
}

}  // namespace

QtWindowSystem::QtWindowSystem() : scale_(LogicalDpi()) {}

QtWindowSystem::~QtWindowSystem() {
  for (const QPointer<QWidget>& window : windows_) delete window.data();
}

std::unique_ptr<FormView> QtWindowSystem::CreateView(Form& form) {
  std::erase_if(windows_, [](const QPointer<QWidget>& window) { return window.isNull(); });
  auto view = std::make_unique<QtFormView>(form, scale_);
  windows_.emplace_back(view->window());
  return view;
}

float QtWindowSystem::ScreenWidthTwips() {
  return scale_.toTwips(ScreenSize().width());
}

float QtWindowSystem::ScreenHeightTwips() {
  return scale_.toTwips(ScreenSize().height());
}

void QtWindowSystem::Quit() {
  quitRequested_ = true;
  QCoreApplication::exit(0);
}

}  // namespace volumetra
