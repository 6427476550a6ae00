#pragma once

#include <vector>

#include "platform/form.h"

namespace volumetra {

enum class Side { Left, Right };

/// A sibling that meets a side of a label's first line of text in the design: it reaches across
/// the middle of that line and overlaps or touches the label's side. A caption never runs under a sibling in
/// front of its label, and never touches a sibling's edge.
struct CaptionNeighbour {
  Control* label;
  Control* sibling;
  Side side;     ///< the side of the label the sibling meets
  bool inFront;  ///< the sibling is drawn over the label: it comes later in the design
};

/// The neighbours of every label of `form`, from the designed positions, so that rows which move
/// together keep them and rows left behind (a grid row of a drive that went) gain none. A label
/// that sizes itself reaches, as designed, to its container's edge on the side it grows to; a
/// sibling in front that covers a label from edge to edge hides it by design and is no neighbour.
std::vector<CaptionNeighbour> CaptionNeighbours(const Form& form);

/// A horizontal extent, in any one unit.
struct Extent {
  double left = 0;
  double right = 0;
};

/// How far the caption of `n.label`, now at `label`, keeps off its side `n.side` from the sibling
/// now at `sibling`: the width the sibling covers (one in front) plus `gap`; nothing when the two
/// stand apart now.
double CaptionInset(const CaptionNeighbour& n, Extent label, Extent sibling, double gap);

}  // namespace volumetra
