#pragma once

#include <functional>
#include <memory>

#include "platform/beep_service.h"
#include "platform/window_system.h"

namespace volumetra {

/// The windowing backend of the tests: forms have no windows, unless a test installs a view
/// factory to watch what the model would repaint.
class HeadlessWindows : public WindowSystem {
 public:
  std::unique_ptr<FormView> CreateView(Form& form) override {
    return viewFactory ? viewFactory(form) : nullptr;
  }
  float ScreenWidthTwips() override { return 1920 * 15.0f; }
  float ScreenHeightTwips() override { return 1080 * 15.0f; }
  void Quit() override { quit = true; }

  std::function<std::unique_ptr<FormView>(Form&)> viewFactory;
  bool quit = false;
};

/// A system beep that only counts.
class CountingBeep : public BeepService {
 public:
  void Beep() override { ++count; }
  int count = 0;
};

}  // namespace volumetra
