#include "platform/twips_scale.h"

#include <algorithm>
#include <cmath>

namespace volumetra {
namespace {

constexpr double kTwipsPerInch = 1440;

}  // namespace

int TwipsScale::toPixels(double twips) const {
  return static_cast<int>(std::lround(twips * dpi_ / kTwipsPerInch));
}

float TwipsScale::toTwips(int pixels) const {
  return static_cast<float>(std::round(pixels * kTwipsPerInch / dpi_));
}

PixelEdges TwipsScale::toPixels(float left, float top, float width, float height) const {
  const int x = toPixels(left);
  const int y = toPixels(top);
  const int right = toPixels(static_cast<double>(left) + width);
  const int bottom = toPixels(static_cast<double>(top) + height);
  return PixelEdges{x, y, std::max(x, right), std::max(y, bottom)};
}

}  // namespace volumetra
