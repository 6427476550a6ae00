// The window styles of a form and how it is shown.
#include "platform/win32/win32_form_view.h"

namespace volumetra {

DWORD Win32FormView::style() const {
  const FormDesign& d = form_.design();
  DWORD style = WS_CLIPCHILDREN;
  switch (d.border) {
    case BorderStyle::Sizable:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
      break;
    case BorderStyle::FixedSingle:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_BORDER;
      break;
    case BorderStyle::FixedDialog:
      // A dialog frame; without a caption text it has no title bar at all.
      style |= WS_POPUP | WS_DLGFRAME | (*d.caption ? WS_CAPTION : 0);
      break;
  }
  if (d.controlBox && (style & WS_CAPTION) == WS_CAPTION) {
    style |= WS_SYSMENU;
    if (d.minButton) style |= WS_MINIMIZEBOX;
    if (d.maxButton) style |= WS_MAXIMIZEBOX;
  }
  return style;
}

DWORD Win32FormView::extendedStyle() const {
  return WS_EX_CONTROLPARENT | (form_.design().border == BorderStyle::FixedDialog ? WS_EX_DLGMODALFRAME : 0);
}

int Win32FormView::showCommand() const {
  switch (form_.windowState()) {
    case WindowState::Minimized:
      return SW_SHOWMINIMIZED;
    case WindowState::Maximized:
      return SW_SHOWMAXIMIZED;
    case WindowState::Normal:
      break;
  }
  return SW_SHOWNORMAL;
}

}  // namespace volumetra
