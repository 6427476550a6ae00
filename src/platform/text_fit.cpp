#include "platform/text_fit.h"

#include <algorithm>
#include <cmath>

namespace volumetra {
namespace {

constexpr float kStepsPerPoint = 4;

}  // namespace

std::optional<float> FittingPoints(float designedPoints, double availableWidth,
                                   const std::function<double(float points)>& widthAt) {
  const double designedWidth = widthAt(designedPoints);
  if (designedWidth <= availableWidth) return designedPoints;
  if (designedPoints <= kSmallestFittingPoints) return std::nullopt;
  // Text widths grow about in proportion to the size, but hinting makes them uneven: start a little
  // above that estimate and step down to the first size that fits.
  const double estimate = designedWidth > 0 ? designedPoints * availableWidth / designedWidth : 0;
  float points = std::floor(static_cast<float>(estimate) * kStepsPerPoint + 2) / kStepsPerPoint;
  points = std::clamp(points, kSmallestFittingPoints, designedPoints - 1 / kStepsPerPoint);
  for (; points >= kSmallestFittingPoints; points -= 1 / kStepsPerPoint) {
    if (widthAt(points) <= availableWidth) return points;
  }
  return std::nullopt;
}

std::optional<float> SharedFittingPoints(
    std::span<const std::optional<float>> own,
    const std::function<bool(std::size_t member, float points)>& fitsAt) {
  std::optional<float> shared;
  for (const std::optional<float>& points : own) {
    if (!points) return std::nullopt;
    shared = shared ? std::min(*shared, *points) : *points;
  }
  if (!shared) return std::nullopt;
  for (float points = *shared; points >= kSmallestFittingPoints; points -= 1 / kStepsPerPoint) {
    bool all = true;
    for (std::size_t member = 0; member < own.size() && all; ++member) {
      all = *own[member] == points || fitsAt(member, points);
    }
    if (all) return points;
  }
  return std::nullopt;
}

}  // namespace volumetra
