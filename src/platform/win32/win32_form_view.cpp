#include "platform/win32/win32_form_view.h"

#include <algorithm>
#include <utility>

#include "platform/caption_groups.h"
#include "platform/form_design.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/control_windows.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_window_system.h"

namespace volumetra {
namespace {

constexpr UINT kApplyState = WM_APP + 1;
constexpr UINT kDestroyLater = WM_APP + 2;

bool OnTabPage(const Control& c) {
  return c.container() && c.container()->kind() == ControlKind::TabControl;
}

WindowState StateOf(HWND window) {
  if (IsIconic(window)) return WindowState::Minimized;
  if (IsZoomed(window)) return WindowState::Maximized;
  return WindowState::Normal;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return Utf8(text);
}

void SetTextOf(HWND window, const std::string& text) {
  SetWindowTextW(window, Wide(text).c_str());
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

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
    : form_(form), system_(system), look_(system.look()) {
  RegisterWindowClasses(&Win32FormView::WindowProc);
  const RECT outer = outerRect();
  window_ = CreateWindowExW(extendedStyle(), kFormClass, Wide(form.caption()).c_str(), style(), outer.left,
                            outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, look_.toPixels(6000));
  system_.remember(window_, this);
  buildControls();
  arrangeCaptions();
  placeStatusBars();
  if (form.visible()) FormChanged(FormProperty::Visible);
}

Win32FormView::~Win32FormView() {
  lifetime_.reset();
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

HWND Win32FormView::parentOf(const Control& control) const {
  if (!control.container()) return window_;
  const Entry& container = entries_.at(control.container());
  if (!OnTabPage(control)) return container.window;
  const std::size_t page = static_cast<std::size_t>(std::max(control.tabPage(), 0));
  return page < container.pages.size() ? container.pages[page] : container.window;
}

void Win32FormView::buildControls() {
  const auto& controls = form_.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    Control& c = *controls[i];
    Entry entry;
    entry.control = &c;
    entry.id = kFirstControlId + static_cast<int>(i);
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
  // The design's order is the stacking order: a later control lies in front of an earlier one.
  HWND inFront = HWND_TOP;
  for (auto later = std::find(order_.begin(), order_.end(), &c) + 1; later != order_.end(); ++later) {
    HWND w = entries_.at(*later).window;
    if (w && GetParent(w) == parent) {
      inFront = w;
      break;
    }
  }
  SetWindowPos(entry.window, inFront, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (c.kind() == ControlKind::Frame)
    SetWindowLongPtrW(entry.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (c.kind() == ControlKind::TabControl) {
    for (std::size_t page = 0; page < c.tabCaptions().size(); ++page) {
      HWND panel =
          CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                          0, 0, 0, 0, entry.window, nullptr, GetModuleHandleW(nullptr), nullptr);
      SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      entry.pages.push_back(panel);
    }
  }
  controlOf_.emplace(entry.window, entry.control);
  const RECT& r = entry.rect;
  if (!SameRect(r, RECT{}))
    MoveWindow(entry.window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  if (entry.caption) entry.caption->attach(entry.window);
}

void Win32FormView::showLate(const Control& c) {
  makeWindow(c);
  for (ControlProperty property : kMirroredWhenMade) mirror(c, property);
}

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
  for (std::size_t page = 0; page < entry.pages.size(); ++page) {
    MoveWindow(entry.pages[page], display.left, display.top, display.right - display.left,
               display.bottom - display.top, TRUE);
    ShowWindow(entry.pages[page], static_cast<int>(page) == tabControl.value() ? SW_SHOWNA : SW_HIDE);
  }
  for (const Control* c : order_) {
    if (c->container() == &tabControl) place(*c);
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
  if (OnTabPage(c)) {
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
  // Its neighbours' captions, or its own, keep clear of where it stands now.
  if (!moved || !neighbourhood_) return;
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

void Win32FormView::drawLabel(const DRAWITEMSTRUCT& item) {
  const auto found = controlOf_.find(item.hwndItem);
  if (found == controlOf_.end()) return;
  const Control& c = *found->second;
  HDC dc = item.hDC;
  FillRect(dc, &item.rcItem, reinterpret_cast<HBRUSH>(colours(dc, item.hwndItem)));
  entries_.at(&c).caption->draw(dc, item.rcItem);
}

void Win32FormView::mirrorValue(const Control& c) {
  HWND w = entries_.at(&c).window;
  const bool outer = std::exchange(applying_, true);
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
      for (std::size_t page = 0; page < entries_.at(&c).pages.size(); ++page)
        ShowWindow(entries_.at(&c).pages[page], static_cast<int>(page) == c.value() ? SW_SHOWNA : SW_HIDE);
      break;
    default:
      break;
  }
  applying_ = outer;
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
      const bool outer = std::exchange(applying_, true);
      SetTextOf(entry.window, c.caption());
      applying_ = outer;
      return;
    }
    default:
      return;  // shapes, sliders, images and the tab control show no caption
  }
}

void Win32FormView::mirrorTip(const Control& c) {
  Entry& entry = entries_.at(&c);
  if (c.toolTip().empty() && !entry.hasTip) return;
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
      return;
    case ControlProperty::Enabled:
      if ((IsWindowEnabled(entry.window) != FALSE) != c.enabled()) EnableWindow(entry.window, c.enabled());
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

void Win32FormView::ControlChanged(Control& control, ControlProperty property) {
  if (entries_.contains(&control)) mirror(control, property);
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
  const bool outerApplying = std::exchange(applying_, true);
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
  applying_ = outerApplying;
  placeStatusBars();
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

void Win32FormView::applyWindowState() {
  if (!IsWindowVisible(window_) || StateOf(window_) == form_.windowState()) return;
  const bool outer = std::exchange(applying_, true);
  ShowWindow(window_, form_.windowState() == WindowState::Normal ? SW_RESTORE : showCommand());
  applying_ = outer;
  applyGeometry();
}

void Win32FormView::FormChanged(FormProperty property) {
  switch (property) {
    case FormProperty::Geometry:
      applyGeometry();
      return;
    case FormProperty::WindowState:
      // The model's answer to a state change of the user's is applied once that message is over.
      if (inStateChange_) {
        PostMessageW(window_, kApplyState, 0, 0);
      } else {
        applyWindowState();
      }
      return;
    case FormProperty::Visible: {
      if ((IsWindowVisible(window_) != FALSE) == form_.visible()) return;
      const bool outer = std::exchange(applying_, true);
      ShowWindow(window_, form_.visible() ? showCommand() : SW_HIDE);
      applying_ = outer;
      return;
    }
    case FormProperty::Caption:
      if (WindowText(window_) != form_.caption()) SetTextOf(window_, form_.caption());
      return;
  }
}

void Win32FormView::Activate() {
  if (!IsWindowVisible(window_)) return;
  SetForegroundWindow(window_);
  BringWindowToTop(window_);
}

void Win32FormView::relayMouse(const MSG& message) {
  if (message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST) return;
  SendMessageW(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

bool Win32FormView::pressFocusedButton(HWND focus) {
  const auto found = controlOf_.find(focus);
  if (found == controlOf_.end() || found->second->kind() != ControlKind::CommandButton ||
      !IsWindowEnabled(focus))
    return false;
  // A form that previews keys sees the Return first, as it sees every typed character.
  if (keyPreview() && previewKey('\r')) return true;
  SendMessageW(focus, BM_CLICK, 0, 0);
  return true;
}

bool Win32FormView::previewKey(int character) {
  const std::weak_ptr<int> alive = lifetime_;
  form_.UserKeyPress(character);
  return alive.expired() || !form_.visible();
}

void Win32FormView::moveFocus(bool backwards) {
  // The designed tab order first, then the controls without one in creation order.
  std::vector<std::pair<std::pair<int, std::size_t>, HWND>> stops;
  for (std::size_t i = 0; i < order_.size(); ++i) {
    HWND w = entries_.at(order_[i]).window;
    if (!w || !(GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP) || !IsWindowVisible(w) || !IsWindowEnabled(w))
      continue;
    const int index = order_[i]->tabIndex();
    stops.push_back({{index >= 0 ? index : 1 << 20, i}, w});
  }
  if (stops.empty()) return;
  std::sort(stops.begin(), stops.end());
  HWND focus = GetFocus();
  std::size_t at = stops.size();
  for (std::size_t i = 0; i < stops.size(); ++i) {
    if (stops[i].second == focus || IsChild(stops[i].second, focus)) at = i;
  }
  std::size_t next = 0;
  if (at == stops.size()) {
    next = backwards ? stops.size() - 1 : 0;
  } else {
    next = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
  }
  SetFocus(stops[next].second);
  if (const auto found = controlOf_.find(stops[next].second);
      found != controlOf_.end() && found->second->kind() == ControlKind::TextBox)
    SendMessageW(stops[next].second, EM_SETSEL, 0, -1);
}

void Win32FormView::click(Control& control) {
  const std::weak_ptr<int> alive = lifetime_;
  control.Click();
  if (!alive.expired()) mirrorValue(control);
}

void Win32FormView::type(Control& control) {
  const std::weak_ptr<int> alive = lifetime_;
  HWND box = entries_.at(&control).window;
  const std::string typed = WindowText(box);
  control.Type(typed);
  if (alive.expired() || control.text() == typed) return;
  // The model refused or changed the text: the box shows its text, the caret at the end (the box
  // counts UTF-16 units).
  mirrorText(control);
  const auto end = static_cast<WPARAM>(Wide(control.text()).size());
  SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
}

void Win32FormView::scroll(Control& control) {
  const std::weak_ptr<int> alive = lifetime_;
  control.Scroll(static_cast<int>(SendMessageW(entries_.at(&control).window, TBM_GETPOS, 0, 0)));
  if (!alive.expired()) mirrorValue(control);
}

void Win32FormView::selectTab(Control& control) {
  const std::weak_ptr<int> alive = lifetime_;
  control.setValue(static_cast<int>(SendMessageW(entries_.at(&control).window, TCM_GETCURSEL, 0, 0)));
  if (!alive.expired()) mirrorValue(control);
}

void Win32FormView::windowMoved() {
  if (applying_ || StateOf(window_) != WindowState::Normal) return;
  RECT rect;
  GetWindowRect(window_, &rect);
  // The window standing where the model put it is no move of the user's.
  if (rect.left == look_.toPixels(form_.left()) && rect.top == look_.toPixels(form_.top())) return;
  form_.UserMoved(look_.toTwips(rect.left), look_.toTwips(rect.top));
}

void Win32FormView::windowSized(WPARAM kind) {
  placeStatusBars();
  if (applying_ || !IsWindowVisible(window_)) return;
  const WindowState state = kind == SIZE_MINIMIZED   ? WindowState::Minimized
                            : kind == SIZE_MAXIMIZED ? WindowState::Maximized
                                                     : WindowState::Normal;
  const std::weak_ptr<int> alive = lifetime_;
  if (state != form_.windowState()) {
    const bool outer = std::exchange(inStateChange_, true);
    form_.setWindowState(state);
    if (alive.expired()) return;
    inStateChange_ = outer;
  }
  if (state != WindowState::Normal) return;
  RECT client;
  GetClientRect(window_, &client);
  const SIZE designed = clientSize();
  if (client.right == designed.cx && client.bottom == designed.cy) return;
  form_.UserResized(look_.toTwips(client.right) + kFrameWidthTwips,
                    look_.toTwips(client.bottom) + kFrameHeightTwips);
}

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
        click(c);
      }
      return;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::Label:  // STN_CLICKED has the value of BN_CLICKED
      if (code == BN_CLICKED) click(c);
      return;
    case ControlKind::TextBox:
      if (code == EN_CHANGE && !applying_) type(c);
      return;
    default:
      return;
  }
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

LRESULT Win32FormView::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      const auto found = controlOf_.find(header->hwndFrom);
      if (header->code == TCN_SELCHANGE && found != controlOf_.end()) selectTab(*found->second);
      return 0;
    }
    case WM_HSCROLL: {
      const auto found = controlOf_.find(reinterpret_cast<HWND>(lParam));
      // Every move of the user's (drag, keys, page clicks); the end of a move is no new move.
      const int code = LOWORD(wParam);
      if (found != controlOf_.end() && code != TB_ENDTRACK && code != TB_THUMBPOSITION)
        scroll(*found->second);
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
        click(*found->second);
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
        const std::weak_ptr<int> alive = lifetime_;
        form_.Activate();
        if (alive.expired()) return 0;
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
