#include "platform/text_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace volumetra {
namespace {

constexpr float kStepsPerPoint = 4;
constexpr const char* kEllipsis = "\u2026";

// Where the UTF-8 `text` may be cut: the start of each of its characters, and its end.
std::vector<std::size_t> CharacterBoundaries(const std::string& text) {
  std::vector<std::size_t> boundaries;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
      boundaries.push_back(i);  // no continuation byte
  }
  boundaries.push_back(text.size());
  return boundaries;
}

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

std::string ShortenedCaption(const std::string& caption, bool keepEnd,
                             const std::function<bool(const std::string& shortened)>& fits) {
  const std::vector<std::size_t> boundaries = CharacterBoundaries(caption);
  const std::size_t characters = boundaries.size() - 1;
  const auto shortenedTo = [&](std::size_t kept) {
    return keepEnd ? kEllipsis + caption.substr(boundaries[characters - kept])
                   : caption.substr(0, boundaries[kept]) + kEllipsis;
  };
  // The most characters that fit beside the ellipsis, found by halving.
  std::size_t fitting = 0, tooMany = characters + 1;
  while (tooMany - fitting > 1) {
    const std::size_t middle = (fitting + tooMany) / 2;
    if (fits(shortenedTo(middle))) {
      fitting = middle;
    } else {
      tooMany = middle;
    }
  }
  return shortenedTo(fitting);
}

}  // namespace volumetra
