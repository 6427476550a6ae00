#include "platform/qt/twips_scale.h"

#include <algorithm>
#include <cmath>

namespace volumetra {

int TwipsScale::toPixels(double twips) const {
  return static_cast<int>(std::lround(twips * pixelsPerTwip_));
}

float TwipsScale::toTwips(int pixels) const {
  return static_cast<float>(std::round(pixels / pixelsPerTwip_));
}

QRect TwipsScale::toPixels(float left, float top, float width, float height) const {
  const int x = toPixels(left);
  const int y = toPixels(top);
  const int right = toPixels(static_cast<double>(left) + width);
  const int bottom = toPixels(static_cast<double>(top) + height);
  return QRect(x, y, std::max(0, right - x), std::max(0, bottom - y));
}

}  // namespace volumetra
