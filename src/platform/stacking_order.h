#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "platform/twips_scale.h"

namespace volumetra {

/// One of the controls that share a parent window, as the order of its window needs it.
struct StackedControl {
  bool tabStop = false;
  /// The designed tab index; -1 for none.
  int tabIndex = -1;
  /// Where it stands in its parent.
  PixelEdges rect;
};

/// The order of sibling windows from the top down, for `controls` in the design's order. The
/// window system draws a window over those below it, and its dialog manager moves the focus
/// (Tab, Shift+Tab, arrows in an option group) through the tab stops from the top down. So a later
/// control lies over an earlier one where the two overlap, and among the controls that are no tab
/// stops; the tab stops come in the designed tab order (those without an index after those with
/// one, in the design's order). Otherwise the design's stacking (the last control on top) is kept.
/// Gives indices into `controls`.
std::vector<std::size_t> StackingOrder(std::span<const StackedControl> controls);

}  // namespace volumetra
