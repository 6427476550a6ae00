// Keys: the form's key preview, Return on a push button and the focus moved in the designed tab order.
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/win32/common_controls.h"
#include "platform/win32/win32_form_view.h"

namespace volumetra {

bool Win32FormView::previewKey(int character) {
  const bool survived = guards_.survives([&] { form_.UserKeyPress(character); });
  // A form that closed on the key keeps it from its controls.
  return !survived || !form_.visible();
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

}  // namespace volumetra
