#include "platform/caption_fitting.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/text_fit.h"

namespace volumetra {

void CaptionSizing::fit(float designedPoints, double limit, bool oneLine, ExtentAt extentAt) {
  extentAt_ = std::move(extentAt);
  limit_ = limit;
  asIs_ = false;
  lastAnswer_.reset();
  const double designedExtent = extentAt_(designedPoints);
  if (designedExtent <= limit) {
    own_ = designedPoints;
    return;
  }
  if (oneLine && lastLine_.points && lastLine_.designedExtent == designedExtent && lastLine_.limit == limit &&
      extentAt_(*lastLine_.points) <= limit) {
    own_ = lastLine_.points;
    return;
  }
  own_ = FittingPoints(designedPoints, limit, [&](float points) {
    return points == designedPoints ? designedExtent : extentAt_(points);
  });
  if (oneLine) lastLine_ = {designedExtent, limit, own_};
}

void CaptionSizing::fitAsIs(float designedPoints) {
  extentAt_ = nullptr;
  asIs_ = true;
  lastAnswer_.reset();
  own_ = designedPoints;
}

bool CaptionSizing::fitsAt(float points) {
  if (asIs_ || (own_ && *own_ == points)) return true;
  if (lastAnswer_ && lastAnswer_->points == points) return lastAnswer_->fits;
  const bool fits = extentAt_(points) <= limit_;
  lastAnswer_ = FitAnswer{points, fits};
  return fits;
}

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

CaptionPlaces::~CaptionPlaces() {
  if (group_) group_->remove(caption_);
  if (row_) row_->remove(caption_);
}

void CaptionPlaces::joinGroup(std::shared_ptr<CaptionSizeGroup> group) {
  if (group_) group_->remove(caption_);
  group_ = std::move(group);
  if (group_) group_->add(caption_);
}

void CaptionPlaces::joinRow(std::shared_ptr<CaptionBaseline> row) {
  if (row_) row_->remove(caption_);
  row_ = std::move(row);
  if (row_) row_->add(caption_);
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
