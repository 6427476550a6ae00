#include "platform/caption_fitting.h"

#include <algorithm>
#include <cmath>

#include "platform/text_fit.h"

namespace volumetra {

void CaptionSizeGroup::add(FittedCaption& member) {
  members_.push_back(&member);
  shown_.reset();
}

void CaptionSizeGroup::remove(FittedCaption& member) {
  std::erase(members_, &member);
  shown_.reset();
}

void CaptionSizeGroup::refit(FittedCaption* changed) {
  std::vector<std::optional<float>> own;
  own.reserve(members_.size());
  for (const FittedCaption* member : members_) own.push_back(member->ownPoints());
  const std::optional<float> shared = SharedFittingPoints(
      own, [this](std::size_t member, float points) { return members_[member]->fitsAt(points); });
  if (changed && shown_ == shared) {
    changed->showAt(shared);
    return;
  }
  shown_ = shared;
  for (FittedCaption* member : members_) member->showAt(shared);
}

void CaptionBaseline::add(FittedCaption& member) {
  members_.push_back(&member);
  baseline_.reset();
}

void CaptionBaseline::remove(FittedCaption& member) {
  std::erase(members_, &member);
  baseline_.reset();
}

double CaptionBaseline::baseline() {
  if (baseline_) return *baseline_;
  double lowest = 0;
  for (const FittedCaption* member : members_) lowest = std::max(lowest, OwnBaseline(*member));
  baseline_ = lowest;
  return lowest;
}

double OwnBaseline(const FittedCaption& caption) {
  const double ratio = caption.pixelRatio();
  return std::ceil(caption.designedAscent() * ratio) / ratio;
}

}  // namespace volumetra
