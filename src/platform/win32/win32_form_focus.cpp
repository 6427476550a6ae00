// Keys: the form's key preview, Return on a push button, and the order of the windows the dialog manager
// moves the focus in.
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "platform/stacking_order.h"
#include "platform/win32/control_windows.h"
#include "platform/win32/win32_form_parts.h"
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

std::vector<std::size_t> Win32FormView::windowRanks() const {
  const auto& controls = form_.controls();
  // The controls of each parent window: the form, a frame, a page of a tab control.
  std::map<std::pair<const Control*, int>, std::vector<std::size_t>> siblings;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& c = *controls[i];
    siblings[{c.container(), c.onTabPage() ? c.tabPage() : -1}].push_back(i);
  }
  std::vector<std::size_t> ranks(controls.size(), 0);
  for (const auto& [parent, members] : siblings) {
    std::vector<StackedControl> stacked;
    for (std::size_t i : members) {
      const Control& c = *controls[i];
      const RECT r = look_.toPixels(c.left(), c.top(), c.width(), c.height());
      stacked.push_back({IsTabStop(c.kind()), c.tabIndex(), PixelEdges{r.left, r.top, r.right, r.bottom}});
    }
    const std::vector<std::size_t> order = StackingOrder(stacked);
    for (std::size_t rank = 0; rank < order.size(); ++rank) ranks[members[order[rank]]] = rank;
  }
  return ranks;
}

void Win32FormView::yieldOverlaps(const Control& moved) {
  const Entry& movedEntry = entries_.at(&moved);
  for (auto stop = order_.begin(); stop != order_.end(); ++stop) {
    Entry& entry = entries_.at(*stop);
    RECT overlap;
    // Only a tab stop that moved, that the moved control now overlaps or that yields already can
    // yield anew.
    if (!IsTabStop((*stop)->kind()) || !entry.window || !Siblings(**stop, moved) ||
        (*stop != &moved && entry.yielded.empty() && !IntersectRect(&overlap, &entry.rect, &movedEntry.rect)))
      continue;
    std::vector<RECT> yielded;
    for (auto later = stop + 1; later != order_.end(); ++later) {
      const Entry& other = entries_.at(*later);
      if (other.rank < entry.rank || !IntersectRect(&overlap, &entry.rect, &other.rect) || !other.window ||
          !Siblings(**later, moved) || !(GetWindowLongW(other.window, GWL_STYLE) & WS_VISIBLE))
        continue;
      OffsetRect(&overlap, -entry.rect.left, -entry.rect.top);
      yielded.push_back(overlap);
    }
    // A tab stop that moved may have another size: its region is made again.
    if (yielded.empty() && entry.yielded.empty()) continue;
    if (*stop != &moved && std::ranges::equal(yielded, entry.yielded, SameRect)) continue;
    entry.yielded = std::move(yielded);
    HRGN region = nullptr;
    if (!entry.yielded.empty()) {
      region = CreateRectRgn(0, 0, entry.rect.right - entry.rect.left, entry.rect.bottom - entry.rect.top);
      for (const RECT& part : entry.yielded) {
        HRGN covered = CreateRectRgnIndirect(&part);
        CombineRgn(region, region, covered, RGN_DIFF);
        DeleteObject(covered);
      }
    }
    // The window owns the region from here on.
    SetWindowRgn(entry.window, region, TRUE);
  }
}

}  // namespace volumetra
