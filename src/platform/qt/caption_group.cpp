#include "platform/qt/caption_group.h"

#include <algorithm>
#include <cmath>

#include "platform/qt/caption_label.h"
#include "platform/text_fit.h"

namespace volumetra {

void CaptionGroup::add(CaptionLabel& member) {
  members_.push_back(&member);
  shown_.reset();
}

void CaptionGroup::remove(CaptionLabel& member) {
  std::erase(members_, &member);
  shown_.reset();
}

void CaptionGroup::refit(CaptionLabel* changed) {
  std::vector<std::optional<float>> own;
  own.reserve(members_.size());
  for (const CaptionLabel* member : members_) own.push_back(member->ownPoints());
  const std::optional<float> shared = SharedFittingPoints(
      own, [this](std::size_t member, float points) { return members_[member]->fitsAt(points); });
  if (changed && shown_ == shared) {
    changed->showAt(shared);
    return;
  }
  shown_ = shared;
  for (CaptionLabel* member : members_) member->showAt(shared);
}

void CaptionRow::add(CaptionLabel& member) {
  members_.push_back(&member);
  baseline_.reset();
}

void CaptionRow::remove(CaptionLabel& member) {
  std::erase(members_, &member);
  baseline_.reset();
}

qreal CaptionRow::baseline() {
  if (baseline_) return *baseline_;
  qreal lowest = 0;
  qreal ratio = 1;
  for (const CaptionLabel* member : members_) {
    lowest = std::max(lowest, member->designedAscent());
    ratio = member->devicePixelRatioF();
  }
  baseline_ = std::ceil(lowest * ratio) / ratio;
  return *baseline_;
}

}  // namespace volumetra
