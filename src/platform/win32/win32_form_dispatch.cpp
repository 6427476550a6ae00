// The window procedure of forms and containers: their messages sent to the view's parts.
#include <utility>

#include "platform/win32/common_controls.h"
#include "platform/win32/win32_form_parts.h"
#include "platform/win32/win32_form_view.h"
#include "platform/win32/win32_window_system.h"

namespace volumetra {

LRESULT Win32FormView::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      const auto found = controlOf_.find(header->hwndFrom);
      if (header->code == TCN_SELCHANGE && found != controlOf_.end())
        input_.selectTab(*found->second,
                         static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_HSCROLL: {
      const auto found = controlOf_.find(reinterpret_cast<HWND>(lParam));
      // Every move of the user's (drag, keys, page clicks); the end of a move is no new move.
      const int code = LOWORD(wParam);
      if (found != controlOf_.end() && code != TB_ENDTRACK && code != TB_THUMBPOSITION)
        input_.scroll(*found->second, static_cast<int>(SendMessageW(found->first, TBM_GETPOS, 0, 0)));
      return 0;
    }
    case WM_DRAWITEM:
      drawLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      if (window == window_) {
        FillRect(reinterpret_cast<HDC>(wParam), &client, look_.brush(form_.design().backColor));
      } else {
        paintPanel(window, reinterpret_cast<HDC>(wParam));
      }
      return 1;
    }
    case WM_PAINT:
      if (window == window_) break;
      {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
      }
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = window;
      break;
    case WM_LBUTTONUP: {
      const bool clicked = std::exchange(pressed_, nullptr) == window;
      const auto found = controlOf_.find(window);
      // A click on a frame's own area, not on one of its controls.
      if (clicked && found != controlOf_.end() && found->second->kind() == ControlKind::Frame)
        input_.click(*found->second);
      return 0;
    }
    default:
      break;
  }
  if (window != window_) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_CLOSE:
      form_.UserClose();
      return 0;
    case WM_MOVE:
      windowMoved();
      return 0;
    case WM_SIZE:
      windowSized(wParam);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && form_.visible()) {
        if (!guards_.survives([this] { form_.Activate(); })) return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) system_.sessionEnding();
      return 0;
    case kApplyState:
      applyWindowState();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK Win32FormView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kDestroyLater) {
    DestroyWindow(window);
    return 0;
  }
  auto* view = reinterpret_cast<Win32FormView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!view) return DefWindowProcW(window, message, wParam, lParam);
  return view->handle(window, message, wParam, lParam);
}

}  // namespace volumetra
