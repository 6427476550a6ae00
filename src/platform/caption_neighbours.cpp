#include "platform/caption_neighbours.h"

#include <algorithm>
#include <cmath>

namespace volumetra {
namespace {

constexpr float kTwipsPerPoint = 20.0f;
constexpr float kLineSpacing = 1.2f;

float ContainerWidth(const Control& c) {
  return c.container() ? c.container()->designedRect().width : c.form().design().clientWidth;
}

// The designed extent of a label across, and the band its first line of text takes down.
struct TextBand {
  float left, right, top, bottom;
};

TextBand BandOf(const Control& label) {
  const TwipsRect& r = label.designedRect();
  TextBand band{r.left, r.right(), r.top, r.top + kLineSpacing * label.font().points * kTwipsPerPoint};
  if (!label.autoSize()) {
    band.bottom = std::min(band.bottom, r.bottom());
  } else if (label.alignment() == Alignment::Right) {
    band.left = 0;
  } else {
    band.right = std::max(band.right, ContainerWidth(label));
  }
  return band;
}

bool SameParent(const Control& a, const Control& b) {
  return a.container() == b.container() && (!a.container() || a.tabPage() == b.tabPage());
}

}  // namespace

std::vector<CaptionNeighbour> CaptionNeighbours(const Form& form) {
  std::vector<CaptionNeighbour> found;
  const auto& controls = form.controls();
  for (std::size_t l = 0; l < controls.size(); ++l) {
    Control& label = *controls[l];
    if (label.kind() != ControlKind::Label) continue;
    const TextBand band = BandOf(label);
    for (std::size_t s = 0; s < controls.size(); ++s) {
      Control& sibling = *controls[s];
      const TwipsRect& r = sibling.designedRect();
      if (s == l || !SameParent(label, sibling)) continue;
      // A sibling that only grazes the line's top or bottom (a header cell over the first row's
      // top edge) leaves its text alone: it must reach across the line's middle.
      const float middle = (band.top + band.bottom) / 2;
      if (r.top >= middle || r.bottom() <= middle) continue;
      if (r.left > band.right || r.right() < band.left) continue;
      const bool inFront = s > l;
      const bool coversLeft = r.left <= band.left;
      const bool coversRight = r.right() >= band.right;
      Side side;
      if (coversLeft && coversRight) {
        continue;  // hidden by it, or standing on it
      } else if (coversLeft || coversRight) {
        side = coversLeft ? Side::Left : Side::Right;
      } else if (!inFront) {
        continue;  // the label covers it
      } else if (label.alignment() == Alignment::Center) {
        side = r.left + r.width / 2 < (band.left + band.right) / 2 ? Side::Left : Side::Right;
      } else {
        // Inside the line: it limits the caption on the side away from where the caption starts.
        side = label.alignment() == Alignment::Right ? Side::Left : Side::Right;
      }
      found.push_back({&label, &sibling, side, inFront});
    }
  }
  return found;
}

double CaptionInset(const CaptionNeighbour& n, Extent label, Extent sibling, double gap) {
  const bool apart = n.side == Side::Right ? sibling.left > label.right : sibling.right < label.left;
  if (apart) return 0;
  if (!n.inFront) return gap;
  const double covered = n.side == Side::Right ? label.right - sibling.left : sibling.right - label.left;
  return std::max(0.0, covered) + gap;
}

CaptionNeighbourhood::CaptionNeighbourhood(const Form& form) : neighbours_(CaptionNeighbours(form)) {
  for (const CaptionNeighbour& n : neighbours_) {
    if (std::find(labels_.begin(), labels_.end(), n.label) == labels_.end()) labels_.push_back(n.label);
    of_[n.label].push_back(&n);
    of_[n.sibling].push_back(&n);
  }
}

std::vector<const Control*> CaptionNeighbourhood::labelsNear(const Control& c) const {
  std::vector<const Control*> near;
  const auto found = of_.find(&c);
  if (found == of_.end()) return near;
  for (const CaptionNeighbour* n : found->second) {
    if (std::find(near.begin(), near.end(), n->label) == near.end()) near.push_back(n->label);
  }
  return near;
}

CaptionRoom CaptionNeighbourhood::roomOf(const Control& label,
                                         const std::function<PixelRect(const Control&)>& placeOf,
                                         double gap) const {
  CaptionRoom room;
  const auto found = of_.find(&label);
  if (found == of_.end()) return room;
  const PixelRect own = placeOf(label);
  const Extent extent{own.left, own.right};
  for (const CaptionNeighbour* n : found->second) {
    if (n->label != &label) continue;
    const PixelRect other = placeOf(*n->sibling);
    const Extent sibling{other.left, other.right};
    if (label.autoSize()) {
      // A label that sized itself to its caption covers another stretch than designed: only what
      // now lies over it.
      const bool over = other.top < own.bottom && other.bottom > own.top &&
                        sibling.left - gap < extent.right && sibling.right + gap > extent.left;
      if (n->inFront && over)
        room.covered.push_back({sibling.left - gap - own.left, sibling.right + gap - own.left});
      continue;
    }
    const int inset = static_cast<int>(std::ceil(CaptionInset(*n, extent, sibling, gap)));
    int& side = n->side == Side::Left ? room.left : room.right;
    side = std::max(side, inset);
  }
  return room;
}

}  // namespace volumetra
