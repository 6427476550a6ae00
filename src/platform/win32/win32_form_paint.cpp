// What the view draws itself: colours of the system controls, frames and tab pages, and labels' captions.
#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_form_view.h"

namespace volumetra {

LRESULT Win32FormView::colours(HDC dc, HWND control) {
  const auto found = controlOf_.find(control);
  if (found == controlOf_.end()) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  const Control& c = *found->second;
  // A control without a colour of its own takes the system's; a shape is its fill.
  const Rgb back = c.backColor().value_or(FaceColour());
  SetBkColor(dc, ToColorRef(back));
  SetTextColor(dc, c.foreColor() ? ToColorRef(*c.foreColor()) : GetSysColor(COLOR_BTNTEXT));
  return reinterpret_cast<LRESULT>(look_.brush(back));
}

void Win32FormView::paintPanel(HWND panel, HDC dc) {
  RECT client;
  GetClientRect(panel, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const auto found = controlOf_.find(panel);
  if (found == controlOf_.end() || found->second->kind() != ControlKind::Frame) return;
  const std::string& caption = entries_.at(found->second).shownText;
  HGDIOBJ old = SelectObject(dc, look_.font(found->second->font()));
  SIZE text{};
  GetTextExtentPoint32W(dc, L"X", 1, &text);
  RECT edge = client;
  if (!caption.empty()) edge.top += text.cy / 2;
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  if (!caption.empty()) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const std::wstring wide = Wide(caption);
    TextOutW(dc, text.cx, 0, wide.data(), static_cast<int>(wide.size()));
  }
  SelectObject(dc, old);
}

void Win32FormView::drawLabel(const DRAWITEMSTRUCT& item) {
  const auto found = controlOf_.find(item.hwndItem);
  if (found == controlOf_.end()) return;
  const Control& c = *found->second;
  HDC dc = item.hDC;
  FillRect(dc, &item.rcItem, reinterpret_cast<HBRUSH>(colours(dc, item.hwndItem)));
  entries_.at(&c).caption->draw(dc, item.rcItem);
}

}  // namespace volumetra
