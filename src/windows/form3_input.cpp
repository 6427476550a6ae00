#include "windows/form3_input.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace volumetra {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

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

double LeadingNumber(std::string_view text) {
  // Gather the number's characters without the blanks, then convert them independently of the
  // locale: the decimal point is always ".".
  std::string number;
  bool started = false;
  bool digits = false;
  bool point = false;
  bool wholePart = false;  // a nonzero digit before the point
  for (char c : text) {
    if (IsBlank(c)) continue;
    if (IsDigit(c)) {
      digits = true;
      wholePart = wholePart || (c != '0' && !point);
      number += c;
    } else if (c == '.' && !point) {
      point = true;
      number += c;
    } else if ((c == '-' || c == '+') && !started) {
      if (c == '-') number += c;
    } else {
      break;
    }
    started = true;
  }
  if (!digits) return 0;
  double value = 0;
  const char* begin = number.data();
  if (std::from_chars(begin, begin + number.size(), value).ec != std::errc::result_out_of_range) return value;
  // Out of range: too large with a whole part, too small to tell from 0 without one.
  if (!wholePart) return 0;
  return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
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
