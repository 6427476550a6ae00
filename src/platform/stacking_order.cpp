#include "platform/stacking_order.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace volumetra {
namespace {

bool Overlap(const PixelEdges& a, const PixelEdges& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

std::vector<std::size_t> StackingOrder(std::span<const StackedControl> controls) {
  const std::size_t n = controls.size();
  // below[i]: the controls that must lie below control i.
  std::vector<std::vector<std::size_t>> below(n);
  std::vector<std::size_t> aboveCount(n, 0);
  const auto mustLieAbove = [&](std::size_t upper, std::size_t lower) {
    below[upper].push_back(lower);
    ++aboveCount[lower];
  };
  std::vector<std::size_t> stops;
  std::size_t lastPlain = n;
  for (std::size_t i = 0; i < n; ++i) {
    if (controls[i].tabStop) {
      stops.push_back(i);
      continue;
    }
    if (lastPlain != n) mustLieAbove(i, lastPlain);
    lastPlain = i;
  }
  const auto tabKey = [&](std::size_t i) {
    return std::pair{controls[i].tabIndex >= 0 ? controls[i].tabIndex : INT_MAX, i};
  };
  std::sort(stops.begin(), stops.end(), [&](std::size_t a, std::size_t b) { return tabKey(a) < tabKey(b); });
  for (std::size_t k = 1; k < stops.size(); ++k) mustLieAbove(stops[k - 1], stops[k]);
  for (std::size_t stop : stops) {
    for (std::size_t i = 0; i < n; ++i) {
      if (controls[i].tabStop || !Overlap(controls[stop].rect, controls[i].rect)) continue;
      if (i > stop) {
        mustLieAbove(i, stop);
      } else {
        mustLieAbove(stop, i);
      }
    }
  }
  // From the top down, the latest control free to go next; should the wishes contradict each
  // other (tab stops in a tab order across overlapping controls), the latest control left.
  std::vector<std::size_t> order;
  std::vector<bool> placed(n, false);
  while (order.size() < n) {
    std::size_t next = n;
    std::size_t latestLeft = n;
    for (std::size_t i = n; i-- > 0;) {
      if (placed[i]) continue;
      if (latestLeft == n) latestLeft = i;
      if (aboveCount[i] == 0) {
        next = i;
        break;
      }
    }
    if (next == n) next = latestLeft;
    placed[next] = true;
    order.push_back(next);
    for (std::size_t lower : below[next]) {
      if (aboveCount[lower] > 0) --aboveCount[lower];
    }
  }
  return order;
}

}  // namespace volumetra
