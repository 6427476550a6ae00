#include "windows/form3_input.h"

#include <cmath>
#include <limits>

namespace volumetra {
std::string WithoutLineBreaks(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    if (c != '\r' && c != '\n') kept += c;
  }
  return kept;
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;  // not a continuation byte
  }
  return count;
}

std::int32_t ThousandfoldClamped(double megabytes) {
  constexpr double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
  const double value = std::nearbyint(megabytes * 1000);
  if (value <= kLow) return std::numeric_limits<std::int32_t>::min();
  if (value >= kHigh) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

}  // namespace volumetra
