#include "platform/win32/win32_lazy_form_view.h"

#include "platform/form.h"
#include "platform/win32/win32_form_view.h"

namespace volumetra {

Win32LazyFormView::Win32LazyFormView(Form& form, Win32WindowSystem& system) : form_(form), system_(system) {
  if (form.visible()) windows();
}

Win32LazyFormView::~Win32LazyFormView() = default;

Win32FormView& Win32LazyFormView::windows() {
  // The new windows show themselves when the form is visible.
  if (!windows_) windows_ = std::make_unique<Win32FormView>(form_, system_);
  return *windows_;
}

void Win32LazyFormView::FormChanged(FormProperty property) {
  if (windows_) {
    windows_->FormChanged(property);
  } else if (property == FormProperty::Visible && form_.visible()) {
    windows();
  }
}

void Win32LazyFormView::ControlChanged(Control& control, ControlProperty property) {
  if (windows_) windows_->ControlChanged(control, property);
}

void Win32LazyFormView::Activate() {
  // A form without windows has never been shown, and a hidden window is not activated.
  if (windows_) windows_->Activate();
}

}  // namespace volumetra
