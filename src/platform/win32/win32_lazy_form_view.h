#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/window_system.h"

namespace volumetra {

class Form;
class Win32FormView;
class Win32WindowSystem;

/// A form's Win32 view whose windows are made when the form is first shown: until then the form
/// has no windows, so a form that may never be shown (the options) costs nothing at start-up.
/// The windows take every property from the model when they are made; changes before that need
/// no mirror. Changes the model makes while they are being made (showing them activates the form,
/// whose handler may set a text) are mirrored once they are made.
class Win32LazyFormView : public FormView {
 public:
  /// With `now`, the windows are made at once.
  Win32LazyFormView(Form& form, Win32WindowSystem& system, bool now);
  ~Win32LazyFormView() override;

  void FormChanged(FormProperty property) override;
  void ControlChanged(Control& control, ControlProperty property) override;
  void Activate() override;

  /// The form's windows, made now if they were not yet.
  Win32FormView& windows();

 private:
  Form& form_;
  Win32WindowSystem& system_;
  std::unique_ptr<Win32FormView> windows_;
  bool making_ = false;
  bool activated_ = false;  // while being made
  std::vector<std::pair<Control*, ControlProperty>> controlsChanged_;
  std::vector<FormProperty> formChanged_;
};

}  // namespace volumetra
