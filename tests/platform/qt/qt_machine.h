#pragma once

#include <QWidget>
#include <stdexcept>

#include "platform/qt/qt_form_view.h"
#include "platform/qt/qt_window_system.h"
#include "support/machine/test_machine.h"

namespace volumetra {

/// Makes the tests' QApplication once, on the offscreen platform unless the environment names
/// another one.
void EnsureQtApplication();

/// Runs the events Qt has queued, deferred deletions included.
void ProcessQtEvents();

/// The pixel size of `twips` at the primary screen's logical DPI.
int ScreenPixels(double twips);

/// Makes the tests' QApplication before the windows of a machine that derives from it.
struct QtApplicationFirst {
  QtApplicationFirst() { EnsureQtApplication(); }
};

/// The fake machine of the logic tests (scripted volumes, virtual clock and timers, files in a
/// temporary directory) with real Qt windows instead of the headless ones.
class QtMachine : private QtApplicationFirst, public TestMachine<FakeVolumes, QtWindowSystem> {
 public:
  /// `timers`: the program's timers, where not those of the virtual event loop.
  explicit QtMachine(TimerHost* timers = nullptr);
  /// The program goes first, then the windows it left for deferred deletion.
  ~QtMachine();

  Program& start();
  QtFormView& view(const Form& form) const;
  QWidget& window(const Form& form) const { return *view(form).window(); }
  template <typename W>
  W& widget(const Form& form, const Control& control) const {
    auto* w = dynamic_cast<W*>(view(form).widget(control));
    if (!w) throw std::logic_error(control.name() + " has no widget of the expected kind");
    return *w;
  }
};

}  // namespace volumetra
