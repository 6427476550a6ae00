// The model's changes written to the form's windows.
#include "platform/win32/common_controls.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_form_parts.h"
#include "platform/win32/win32_form_view.h"
#include "platform/win32/window_text.h"

namespace volumetra {

void Win32FormView::FormChanged(FormProperty property) {
  switch (property) {
    case FormProperty::Geometry:
      applyGeometry();
      return;
    case FormProperty::WindowState:
      // The model's answer to a state change of the user's is applied once that message is over.
      if (guards_.inStateChange()) {
        PostMessageW(window_, kApplyState, 0, 0);
      } else {
        applyWindowState();
      }
      return;
    case FormProperty::Visible: {
      if ((IsWindowVisible(window_) != FALSE) == form_.visible()) return;
      guards_.apply([this] { ShowWindow(window_, form_.visible() ? showCommand() : SW_HIDE); });
      return;
    }
    case FormProperty::Caption:
      if (WindowText(window_) != form_.caption()) SetTextOf(window_, form_.caption());
      return;
  }
}

void Win32FormView::ControlChanged(Control& control, ControlProperty property) {
  if (entries_.contains(&control)) mirror(control, property);
}

void Win32FormView::mirror(const Control& c, ControlProperty property) {
  Entry& entry = entries_.at(&c);
  if (!entry.window) {
    // Without a window only where the control stands and a label's caption count, for the
    // captions of its neighbours and its size group.
    const bool label = c.kind() == ControlKind::Label;
    if (property == ControlProperty::Visible && c.visible()) {
      showLate(c);
    } else if (property == ControlProperty::Geometry ||
               (label && (property == ControlProperty::Caption || property == ControlProperty::Text ||
                          property == ControlProperty::Font))) {
      place(c);
    }
    return;
  }
  switch (property) {
    case ControlProperty::Geometry:
      place(c);
      return;
    case ControlProperty::Visible:
      if ((IsWindowVisible(entry.window) != FALSE ||
           (GetWindowLongW(entry.window, GWL_STYLE) & WS_VISIBLE)) != c.visible())
        ShowWindow(entry.window, c.visible() ? SW_SHOWNA : SW_HIDE);
      if (c.kind() == ControlKind::TabControl) showPages(c);
      yieldOverlaps(c);
      return;
    case ControlProperty::Enabled:
      if ((IsWindowEnabled(entry.window) != FALSE) != c.enabled()) EnableWindow(entry.window, c.enabled());
      // A tab control's pages are its siblings: they take its state.
      for (HWND page : entry.pages) EnableWindow(page, c.enabled());
      return;
    case ControlProperty::Caption:
    case ControlProperty::Text:
      mirrorText(c);
      return;
    case ControlProperty::ToolTip:
      mirrorTip(c);
      return;
    case ControlProperty::ForeColor:
    case ControlProperty::BackColor:
      InvalidateRect(entry.window, nullptr, TRUE);
      return;
    case ControlProperty::Font:
      if (c.kind() == ControlKind::Label) {
        place(c);
      } else {
        setFont(c, look_.font(c.font()));
      }
      return;
    case ControlProperty::Value:
      mirrorValue(c);
      return;
  }
}

void Win32FormView::mirrorValue(const Control& c) {
  HWND w = entries_.at(&c).window;
  guards_.apply([&] { showValue(c, w); });
}

void Win32FormView::showValue(const Control& c, HWND w) {
  switch (c.kind()) {
    case ControlKind::CheckBox: {
      const WPARAM state = c.value() == kChecked  ? BST_CHECKED
                           : c.value() == kGrayed ? BST_INDETERMINATE
                                                  : BST_UNCHECKED;
      if (static_cast<WPARAM>(SendMessageW(w, BM_GETCHECK, 0, 0)) != state)
        SendMessageW(w, BM_SETCHECK, state, 0);
      break;
    }
    case ControlKind::OptionButton: {
      const WPARAM state = c.value() != 0 ? BST_CHECKED : BST_UNCHECKED;
      if (static_cast<WPARAM>(SendMessageW(w, BM_GETCHECK, 0, 0)) != state)
        SendMessageW(w, BM_SETCHECK, state, 0);
      break;
    }
    case ControlKind::Slider:
      if (SendMessageW(w, TBM_GETPOS, 0, 0) != c.value()) SendMessageW(w, TBM_SETPOS, TRUE, c.value());
      break;
    case ControlKind::TabControl:
      if (SendMessageW(w, TCM_GETCURSEL, 0, 0) != c.value()) SendMessageW(w, TCM_SETCURSEL, c.value(), 0);
      showPages(c);
      break;
    default:
      break;
  }
}

void Win32FormView::mirrorText(const Control& c) {
  Entry& entry = entries_.at(&c);
  switch (c.kind()) {
    case ControlKind::Label:
      place(c);  // a self-sizing label grows with its caption
      return;
    case ControlKind::StatusBar:
      if (entry.shownText == c.caption()) return;
      entry.shownText = c.caption();
      SendMessageW(entry.window, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Wide(entry.shownText).c_str()));
      return;
    case ControlKind::Frame:
      entry.shownText = c.caption();
      InvalidateRect(entry.window, nullptr, TRUE);
      return;
    case ControlKind::CommandButton:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::TextBox: {
      if (WindowText(entry.window) == c.caption()) return;
      guards_.apply([&] { SetTextOf(entry.window, c.caption()); });
      return;
    }
    default:
      return;  // shapes, sliders, images and the tab control show no caption
  }
}

void Win32FormView::mirrorTip(const Control& c) {
  Entry& entry = entries_.at(&c);
  // Without the tool tip control yet, the tips are given to it when it is made.
  if (!tips_ || (c.toolTip().empty() && !entry.hasTip)) return;
  std::wstring text = Wide(c.toolTip());
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  // The message loop relays the mouse to the tool tips (relayMouse): subclassing every control
  // instead would put a window-property lookup in front of each of its messages.
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = GetParent(entry.window);
  tool.uId = reinterpret_cast<UINT_PTR>(entry.window);
  tool.lpszText = text.data();
  if (c.toolTip().empty()) {
    SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    entry.hasTip = false;
  } else if (entry.hasTip) {
    SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    entry.hasTip = SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
  }
}

void Win32FormView::setFont(const Control& c, HFONT font) {
  Entry& entry = entries_.at(&c);
  if (entry.font == font) return;
  entry.font = font;
  SendMessageW(entry.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// A label draws its caption fitted (LabelCaption); its window text is the whole caption, for
// assistive tools and for anyone reading the window.
void Win32FormView::showLabel(const Control& c) {
  Entry& entry = entries_.at(&c);
  entry.caption->refresh();
  if (entry.window && entry.windowText != c.caption()) {
    entry.windowText = c.caption();
    SetTextOf(entry.window, entry.windowText);
  }
}

}  // namespace volumetra
