// Where the form and its controls stand: twips to pixels, tab pages, docked status bars and the room the
// labels' captions take.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/caption_groups.h"
#include "platform/form_design.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/win32_form_parts.h"
#include "platform/win32/win32_form_view.h"

namespace volumetra {

void Win32FormView::arrangeCaptions() {
  for (const std::vector<Control*>& line : CaptionRows(form_)) {
    const auto row = std::make_shared<CaptionBaseline>();
    for (const Control* c : line) entries_.at(c).caption->joinRow(row);
  }
  for (const std::vector<Control*>& column : CaptionSizeGroups(form_)) {
    const auto group = std::make_shared<CaptionSizeGroup>();
    for (const Control* c : column) entries_.at(c).caption->joinGroup(group);
  }
  neighbourhood_.emplace(form_);
  for (const Control* label : neighbourhood_->labels()) fitCaptionRoom(*label);
  for (const Control* c : order_) {
    if (c->kind() == ControlKind::Label) entries_.at(c).caption->fit();
  }
}

void Win32FormView::fitCaptionRoom(const Control& label) {
  const CaptionRoom room = neighbourhood_->roomOf(
      label,
      [this](const Control& c) {
        const RECT& r = entries_.at(&c).rect;
        return PixelRect{static_cast<double>(r.left), static_cast<double>(r.top),
                         static_cast<double>(r.right), static_cast<double>(r.bottom)};
      },
      kCaptionGap);
  entries_.at(&label).caption->setRoom(room);
}

POINT Win32FormView::pageOffset(const Control& tabControl) const {
  const Entry& entry = entries_.at(&tabControl);
  RECT display;
  GetClientRect(entry.window, &display);
  SendMessageW(entry.window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  return POINT{display.left, display.top};
}

void Win32FormView::layOutPages(const Control& tabControl) {
  const Entry& entry = entries_.at(&tabControl);
  RECT display;
  GetClientRect(entry.window, &display);
  SendMessageW(entry.window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  // The pages are the tab control's siblings: placed in its parent, over its display area.
  OffsetRect(&display, entry.rect.left, entry.rect.top);
  for (HWND page : entry.pages)
    MoveWindow(page, display.left, display.top, display.right - display.left, display.bottom - display.top,
               TRUE);
  showPages(tabControl);
  for (const Control* c : order_) {
    if (c->container() == &tabControl) place(*c);
  }
}

void Win32FormView::showPages(const Control& tabControl) {
  const Entry& entry = entries_.at(&tabControl);
  const bool shown = entry.window && (GetWindowLongW(entry.window, GWL_STYLE) & WS_VISIBLE);
  for (std::size_t page = 0; page < entry.pages.size(); ++page) {
    const bool selected = shown && static_cast<int>(page) == tabControl.value();
    ShowWindow(entry.pages[page], selected ? SW_SHOWNA : SW_HIDE);
  }
}

void Win32FormView::place(const Control& c) {
  const auto found = entries_.find(&c);
  if (found == entries_.end()) return;
  Entry& entry = found->second;
  if (c.kind() == ControlKind::StatusBar) {
    placeStatusBars();
    return;
  }
  RECT rect = look_.toPixels(c.left(), c.top(), c.width(), c.height());
  // Positions on a tab control count from the control's corner, tab strip included.
  if (c.onTabPage()) {
    const POINT offset = pageOffset(*c.container());
    OffsetRect(&rect, -offset.x, -offset.y);
  }
  if (c.kind() == ControlKind::Label && c.autoSize()) {
    const SIZE text = look_.textExtent(look_.font(c.font()), c.caption());
    rect.right = rect.left + text.cx;
    rect.bottom = rect.top + text.cy;
  }
  if (c.kind() == ControlKind::CheckBox || c.kind() == ControlKind::OptionButton) {
    // Lower than its indicator (drawn a pixel below the top) or a line of its caption, the
    // control would cut them off: it grows to that height about its middle.
    const int needed = std::max(GetSystemMetrics(SM_CYMENUCHECK) + 1,
                                static_cast<int>(look_.textExtent(look_.font(c.font()), "").cy));
    const int height = rect.bottom - rect.top;
    if (height < needed) {
      rect.top -= (needed - height) / 2;
      rect.bottom = rect.top + needed;
    }
  }
  const bool moved = !SameRect(entry.rect, rect);
  if (moved) {
    entry.rect = rect;
    if (entry.window)
      MoveWindow(entry.window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    if (c.kind() == ControlKind::TabControl) layOutPages(c);
  }
  if (c.kind() == ControlKind::Label) {
    entry.caption->resize(SIZE{std::max(0L, rect.right - rect.left), std::max(0L, rect.bottom - rect.top)});
    showLabel(c);
  }
  if (!moved) return;
  yieldOverlaps(c);
  // Its neighbours' captions, or its own, keep clear of where it stands now.
  if (!neighbourhood_) return;
  for (const Control* label : neighbourhood_->labelsNear(c)) fitCaptionRoom(*label);
}

void Win32FormView::placeStatusBars() {
  // A status bar is docked: it spans the client area's bottom edge whatever its designed top.
  RECT client;
  GetClientRect(window_, &client);
  for (const Control* c : order_) {
    if (c->kind() != ControlKind::StatusBar) continue;
    Entry& bar = entries_.at(c);
    const int height = look_.toPixels(c->height());
    const RECT rect{0, client.bottom - height, client.right, client.bottom};
    if (SameRect(bar.rect, rect)) continue;
    bar.rect = rect;
    if (bar.window) MoveWindow(bar.window, rect.left, rect.top, rect.right, height, TRUE);
  }
}

SIZE Win32FormView::clientSize() const {
  return SIZE{look_.toPixels(std::max(0.f, form_.width() - kFrameWidthTwips)),
              look_.toPixels(std::max(0.f, form_.height() - kFrameHeightTwips))};
}

RECT Win32FormView::outerRect() const {
  const SIZE client = clientSize();
  RECT rect{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&rect, style(), FALSE, extendedStyle());
  const int x = look_.toPixels(form_.left());
  const int y = look_.toPixels(form_.top());
  return RECT{x, y, x + rect.right - rect.left, y + rect.bottom - rect.top};
}

void Win32FormView::applyGeometry() {
  const RECT outer = outerRect();
  guards_.apply([&] {
    if (StateOf(window_) == WindowState::Normal) {
      RECT current;
      GetWindowRect(window_, &current);
      if (!SameRect(current, outer))
        SetWindowPos(window_, nullptr, outer.left, outer.top, outer.right - outer.left,
                     outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      WINDOWPLACEMENT placement{};
      placement.length = sizeof placement;
      GetWindowPlacement(window_, &placement);
      placement.rcNormalPosition = outer;
      SetWindowPlacement(window_, &placement);
    }
  });
  placeStatusBars();
}

void Win32FormView::applyWindowState() {
  if (!IsWindowVisible(window_) || StateOf(window_) == form_.windowState()) return;
  guards_.apply([this] {
    ShowWindow(window_, form_.windowState() == WindowState::Normal ? SW_RESTORE : showCommand());
  });
  applyGeometry();
}

}  // namespace volumetra
