#include "report/bar_width.h"

#include <cmath>

namespace volumetra {

float BarWidth(double twips) {
  if (std::isnan(twips) || twips <= 0) return 0;
  if (twips >= kMaxBarWidth) return kMaxBarWidth;
  // The default rounding mode rounds halves to even.
  return static_cast<float>(std::nearbyint(twips));
}

}  // namespace volumetra
