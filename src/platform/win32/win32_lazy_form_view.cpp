#include "platform/win32/win32_lazy_form_view.h"

#include "platform/form.h"
#include "platform/win32/win32_form_view.h"

namespace volumetra {

Win32LazyFormView::Win32LazyFormView(Form& form, Win32WindowSystem& system, bool now)
    : form_(form), system_(system) {
  if (now || form.visible()) windows();
}

Win32LazyFormView::~Win32LazyFormView() = default;

Win32FormView& Win32LazyFormView::windows() {
  // The new windows show themselves when the form is visible.
  if (windows_) return *windows_;
  making_ = true;
  auto made = std::make_unique<Win32FormView>(form_, system_);
  making_ = false;
  windows_ = std::move(made);
  for (FormProperty property : std::exchange(formChanged_, {})) windows_->FormChanged(property);
  for (auto [control, property] : std::exchange(controlsChanged_, {}))
    windows_->ControlChanged(*control, property);
  if (std::exchange(activated_, false)) windows_->Activate();
  return *windows_;
}

void Win32LazyFormView::FormChanged(FormProperty property) {
  if (windows_) {
    windows_->FormChanged(property);
  } else if (making_) {
    formChanged_.push_back(property);
  } else if (property == FormProperty::Visible && form_.visible()) {
    windows();
  }
}

void Win32LazyFormView::ControlChanged(Control& control, ControlProperty property) {
  if (windows_) {
    windows_->ControlChanged(control, property);
  } else if (making_) {
    controlsChanged_.emplace_back(&control, property);
  }
}

void Win32LazyFormView::Activate() {
  // A form without windows has never been shown, and a hidden window is not activated.
  if (windows_) windows_->Activate();
  activated_ = making_;
}

}  // namespace volumetra
