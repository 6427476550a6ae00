#pragma once

#include <functional>
#include <unordered_map>
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
  friend bool operator==(const Extent&, const Extent&) = default;
};

/// How far the caption of `n.label`, now at `label`, keeps off its side `n.side` from the sibling
/// now at `sibling`: the width the sibling covers (one in front) plus `gap`; nothing when the two
/// stand apart now.
double CaptionInset(const CaptionNeighbour& n, Extent label, Extent sibling, double gap);

/// How far a caption stays off a neighbour's edge, in pixels.
inline constexpr int kCaptionGap = 1;

/// A control's place now, in pixels of its container; the right and bottom edges lie outside it.
struct PixelRect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

/// Where a label draws its caption among its neighbours now, in pixels.
struct CaptionRoom {
  int left = 0;   ///< room left free at the label's left edge
  int right = 0;  ///< and at its right edge
  /// A label that sizes itself: the stretches across it that siblings in front cover, gap
  /// included, from the label's left edge. It draws only the characters wholly clear of them.
  std::vector<Extent> covered;
};

/// The neighbours of a form's labels (CaptionNeighbours), found by either control they concern,
/// and the room they leave each label where the controls stand now.
class CaptionNeighbourhood {
 public:
  explicit CaptionNeighbourhood(const Form& form);

  /// Every label that has neighbours, in design order.
  const std::vector<const Control*>& labels() const { return labels_; }
  /// The labels whose room depends on where `c` stands: itself, and those it is a neighbour of.
  std::vector<const Control*> labelsNear(const Control& c) const;
  /// The room of `label`'s caption with every control where `placeOf` says, `gap` pixels off each
  /// sibling's edge.
  CaptionRoom roomOf(const Control& label, const std::function<PixelRect(const Control&)>& placeOf,
                     double gap) const;

 private:
  std::vector<CaptionNeighbour> neighbours_;
  std::vector<const Control*> labels_;
  std::unordered_map<const Control*, std::vector<const CaptionNeighbour*>> of_;
};

}  // namespace volumetra
