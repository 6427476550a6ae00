// What the user does to the form's windows, handed to the model.
#include "platform/form_design.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_form_parts.h"
#include "platform/win32/win32_form_view.h"
#include "platform/win32/window_text.h"

namespace volumetra {

void Win32FormView::command(HWND control, int code) {
  const auto found = controlOf_.find(control);
  if (found == controlOf_.end()) return;
  Control& c = *found->second;
  switch (c.kind()) {
    case ControlKind::CommandButton:
      // The button with the focus is the one Return presses, and shows it as the default button
      // does. The second click of a double click is a click as well.
      if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
        const WPARAM type = code == BN_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        SendMessageW(control, BM_SETSTYLE, type | BS_NOTIFY, TRUE);
      } else if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
        input_.click(c);
      }
      return;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::Label:  // STN_CLICKED has the value of BN_CLICKED
      if (code == BN_CLICKED) input_.click(c);
      return;
    case ControlKind::TextBox:
      if (code == EN_CHANGE && !guards_.applying()) input_.type(c, WindowText(control));
      return;
    default:
      return;
  }
}

void Win32FormView::showRefusedText(const Control& control) {
  // The box counts UTF-16 units.
  mirrorText(control);
  const auto end = static_cast<WPARAM>(Wide(control.text()).size());
  SendMessageW(entries_.at(&control).window, EM_SETSEL, end, static_cast<LPARAM>(end));
}

void Win32FormView::windowMoved() {
  if (guards_.applying() || StateOf(window_) != WindowState::Normal) return;
  RECT rect;
  GetWindowRect(window_, &rect);
  // The window standing where the model put it is no move of the user's.
  if (rect.left == look_.toPixels(form_.left()) && rect.top == look_.toPixels(form_.top())) return;
  form_.UserMoved(look_.toTwips(rect.left), look_.toTwips(rect.top));
}

void Win32FormView::windowSized(WPARAM kind) {
  placeStatusBars();
  if (guards_.applying() || !IsWindowVisible(window_)) return;
  const WindowState state = kind == SIZE_MINIMIZED   ? WindowState::Minimized
                            : kind == SIZE_MAXIMIZED ? WindowState::Maximized
                                                     : WindowState::Normal;
  if (state != form_.windowState() && !guards_.handStateChange([&] { form_.setWindowState(state); })) return;
  if (state != WindowState::Normal) return;
  RECT client;
  GetClientRect(window_, &client);
  const SIZE designed = clientSize();
  if (client.right == designed.cx && client.bottom == designed.cy) return;
  form_.UserResized(look_.toTwips(client.right) + kFrameWidthTwips,
                    look_.toTwips(client.bottom) + kFrameHeightTwips);
}

void Win32FormView::relayMouse(const MSG& message) {
  if (message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST) return;
  SendMessageW(toolTips(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

}  // namespace volumetra
