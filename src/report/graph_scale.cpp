#include "report/graph_scale.h"

#include <algorithm>
#include <cmath>

namespace volumetra {
namespace {

/// The free bar's length, in twips, that the reset aims the largest free space at.
constexpr double kAimTwips = 4100;
/// The slider value a divided scale aims at, at least: from there one step changes the bar by 1%.
constexpr double kFineSliderValue = 100;
/// The divisors are powers of this base.
constexpr double kDivisorBase = 10;

}  // namespace

GraphScaleReset ResetGraphScale(std::int32_t maxFreeMB, int sliderMax) {
  const double aim = kAimTwips / (maxFreeMB / 100.0);
  GraphScaleReset reset;
  if (aim <= 1) {
    while (aim * reset.divisor < kFineSliderValue) reset.divisor *= kDivisorBase;
  }
  const double value = std::nearbyint(aim * reset.divisor);
  reset.sliderValue = static_cast<int>(std::min(value, static_cast<double>(sliderMax)));
  return reset;
}

double GraphScaleOf(int sliderValue, double divisor) {
  return (sliderValue + 1.0) / divisor;
}

}  // namespace volumetra
