#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/twips_scale.h"
#include "platform/window_system.h"

namespace volumetra {

/// The Qt 6 Widgets windowing backend: one real top-level window per form, laid out at the
/// primary screen's logical DPI. Needs a QApplication.
class QtWindowSystem : public WindowSystem {
 public:
  QtWindowSystem();
  /// Deletes windows whose deferred deletion the event loop has not run any more.
  ~QtWindowSystem() override;
  QtWindowSystem(const QtWindowSystem&) = delete;
  QtWindowSystem& operator=(const QtWindowSystem&) = delete;

  std::unique_ptr<FormView> CreateView(Form& form) override;
  float ScreenWidthTwips() override;
  float ScreenHeightTwips() override;
  /// Leaves the event loop with exit code 0.
  void Quit() override;

  bool quitRequested() const { return quitRequested_; }
  const TwipsScale& scale() const { return scale_; }

 private:
  TwipsScale scale_;
  std::vector<QPointer<QWidget>> windows_;
  bool quitRequested_ = false;
};

}  // namespace volumetra
