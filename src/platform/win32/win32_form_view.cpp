// The form's windows made and unmade; the view's other jobs are in the win32_form_*.cpp files
// beside it.
#include "platform/win32/win32_form_view.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/win32/common_controls.h"
#include "platform/win32/control_windows.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_form_parts.h"
#include "platform/win32/win32_window_system.h"

namespace volumetra {
namespace {

// Frames and tab controls always have windows: their controls' windows are made in them.
bool MadeAtOnce(const Control& c) {
  return c.visible() || c.kind() == ControlKind::Frame || c.kind() == ControlKind::TabControl;
}

constexpr ControlProperty kMirroredWhenMade[] = {ControlProperty::Font,    ControlProperty::Caption,
                                                 ControlProperty::Value,   ControlProperty::Enabled,
                                                 ControlProperty::ToolTip, ControlProperty::Visible};

void Detach(HWND window) {
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

}  // namespace

Win32FormView::Win32FormView(Form& form, Win32WindowSystem& system)
    : form_(form),
      system_(system),
      look_(system.look()),
      input_(guards_, {[this](const Control& c) { mirrorValue(c); },
                       [this](const Control& c) { showRefusedText(c); }}) {
  RegisterWindowClasses(&Win32FormView::WindowProc);
  const RECT outer = outerRect();
  window_ = CreateWindowExW(extendedStyle(), kFormClass, Wide(form.caption()).c_str(), style(), outer.left,
                            outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  system_.remember(window_, this);
  buildControls();
  arrangeCaptions();
  placeStatusBars();
  if (form.visible()) FormChanged(FormProperty::Visible);
}

Win32FormView::~Win32FormView() {
  guards_.end();
  system_.forget(window_);
  for (const auto& [control, entry] : entries_) {
    if (entry.window && (control->kind() == ControlKind::Frame || control->kind() == ControlKind::Image))
      Detach(entry.window);
    for (HWND page : entry.pages) Detach(page);
  }
  Detach(window_);
  ShowWindow(window_, SW_HIDE);
  PostMessageW(window_, kDestroyLater, 0, 0);
}

HWND Win32FormView::windowOf(const Control& control) const {
  const auto found = entries_.find(&control);
  return found == entries_.end() ? nullptr : found->second.window;
}

const LabelCaption* Win32FormView::captionOf(const Control& label) const {
  const auto found = entries_.find(&label);
  return found == entries_.end() ? nullptr : found->second.caption.get();
}

HWND Win32FormView::parentOf(const Control& control) const {
  if (!control.container()) return window_;
  const Entry& container = entries_.at(control.container());
  if (!control.onTabPage()) return container.window;
  const std::size_t page = static_cast<std::size_t>(std::max(control.tabPage(), 0));
  return page < container.pages.size() ? container.pages[page] : container.window;
}

void Win32FormView::buildControls() {
  const auto& controls = form_.controls();
  const std::vector<std::size_t> ranks = windowRanks();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    Control& c = *controls[i];
    Entry entry;
    entry.control = &c;
    entry.id = kFirstControlId + static_cast<int>(i);
    entry.rank = ranks[i];
    if (c.kind() == ControlKind::Label) entry.caption = std::make_unique<LabelCaption>(look_, c);
    entries_.emplace(&c, std::move(entry));
    order_.push_back(&c);
    if (MadeAtOnce(c)) makeWindow(c);
    // Placed first: a label fits its caption to its size, an edit box shows its text from the start.
    place(c);
    for (ControlProperty property : kMirroredWhenMade) mirror(c, property);
  }
}

void Win32FormView::makeWindow(const Control& c) {
  Entry& entry = entries_.at(&c);
  HWND parent = parentOf(c);
  entry.window = CreateControlWindow(c, parent, entry.id);
  // Below the sibling window that ranks next above it (windowRanks), or on top.
  HWND above = HWND_TOP;
  std::size_t aboveRank = 0;
  for (const auto& [other, sibling] : entries_) {
    if (!sibling.window || sibling.rank >= entry.rank || (above != HWND_TOP && sibling.rank <= aboveRank) ||
        !Siblings(*other, c))
      continue;
    above = sibling.window;
    aboveRank = sibling.rank;
  }
  SetWindowPos(entry.window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (c.kind() == ControlKind::Frame)
    SetWindowLongPtrW(entry.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (c.kind() == ControlKind::TabControl) {
    // The pages are the tab control's siblings, just above it: the dialog manager goes into a
    // control parent but never stops on one, and the tab strip is a tab stop of its own.
    for (std::size_t page = 0; page < c.tabCaptions().size(); ++page) {
      HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, PanelClass(), L"",
                                   WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
      SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      HWND overTabs = GetWindow(entry.window, GW_HWNDPREV);
      SetWindowPos(panel, overTabs ? overTabs : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      entry.pages.push_back(panel);
    }
  }
  controlOf_.emplace(entry.window, entry.control);
  const RECT& r = entry.rect;
  if (!SameRect(r, RECT{}))
    MoveWindow(entry.window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  if (entry.caption) entry.caption->attach(entry.window);
}

HWND Win32FormView::toolTips() {
  if (tips_) return tips_;
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, look_.toPixels(6000));
  for (const Control* c : order_) {
    if (entries_.at(c).window) mirrorTip(*c);
  }
  return tips_;
}

void Win32FormView::showLate(const Control& c) {
  makeWindow(c);
  for (ControlProperty property : kMirroredWhenMade) mirror(c, property);
}

void Win32FormView::Activate() {
  if (!IsWindowVisible(window_)) return;
  SetForegroundWindow(window_);
  BringWindowToTop(window_);
}

}  // namespace volumetra
