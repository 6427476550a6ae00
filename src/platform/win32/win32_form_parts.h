#pragma once

#include "platform/form.h"
#include "platform/win32/windows_api.h"

// What the parts of Win32FormView (win32_form_*.cpp) share.
namespace volumetra {

/// Posted to a form: the model's answer to a window-state change of the user's is applied.
inline constexpr UINT kApplyState = WM_APP + 1;
/// Posted to a form whose view went: the window is destroyed from the message loop.
inline constexpr UINT kDestroyLater = WM_APP + 2;

inline WindowState StateOf(HWND window) {
  if (IsIconic(window)) return WindowState::Minimized;
  if (IsZoomed(window)) return WindowState::Maximized;
  return WindowState::Normal;
}

/// True for controls whose windows share a parent: the form, a frame or a page of a tab control.
inline bool Siblings(const Control& a, const Control& b) {
  return a.container() == b.container() && (!a.onTabPage() || a.tabPage() == b.tabPage());
}

inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace volumetra
