#include "settings/setting_conversions.h"

#include <algorithm>
#include <array>
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

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

/// A strict decimal number split into its parts: [sign] digits [. digits], at least one digit.
struct Decimal {
  bool negative = false;
  std::string_view whole;     ///< digits before the point
  std::string_view fraction;  ///< digits after the point
};

std::optional<Decimal> ParseDecimal(std::string_view text) {
  std::string_view s = Trim(text);
  Decimal d;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    d.negative = s.front() == '-';
    s.remove_prefix(1);
  }
  const auto digits = [&s] {
    const std::size_t n = static_cast<std::size_t>(std::ranges::find_if_not(s, IsDigit) - s.begin());
    const std::string_view run = s.substr(0, n);
    s.remove_prefix(n);
    return run;
  };
  d.whole = digits();
  if (!s.empty() && s.front() == '.') {
    s.remove_prefix(1);
    d.fraction = digits();
  }
  if (!s.empty() || (d.whole.empty() && d.fraction.empty())) return std::nullopt;
  return d;
}

bool AllZero(std::string_view digits) {
  return std::ranges::all_of(digits, [](char c) { return c == '0'; });
}

}  // namespace

std::optional<std::int32_t> ReadInteger(std::string_view text) {
  const std::optional<Decimal> d = ParseDecimal(text);
  if (!d) return std::nullopt;
  std::string_view whole = d->whole;
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  if (whole.size() > 10) return std::nullopt;
  std::int64_t magnitude = 0;
  for (char c : whole) magnitude = magnitude * 10 + (c - '0');
  // Round on the exact digits, so 2.5000000000000000001 goes up and 2.5 goes to 2.
  const std::string_view f = d->fraction;
  if (!f.empty() && (f[0] > '5' || (f[0] == '5' && (!AllZero(f.substr(1)) || magnitude % 2 == 1))))
    ++magnitude;
  const std::int64_t value = d->negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

double ReadLenientNumber(std::string_view text) {
  std::string number;
  bool point = false;
  bool anyDigit = false;
  bool leadingDigits = false;  // a nonzero digit before the point: an overflow, not an underflow
  for (char c : text) {
    if (IsBlank(c)) continue;
    if ((c == '+' || c == '-') && number.empty() && !point) {
      number += c;
    } else if (IsDigit(c)) {
      number += c;
      anyDigit = true;
      leadingDigits = leadingDigits || (!point && c != '0');
    } else if (c == '.' && !point) {
      number += c;
      point = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return 0;
  const bool negative = number.front() == '-';
  const std::size_t start = number.front() == '+' || negative ? 1 : 0;
  double value = 0;
  const auto [end, error] = std::from_chars(number.data() + start, number.data() + number.size(), value);
  if (error == std::errc::result_out_of_range)
    value = leadingDigits ? std::numeric_limits<double>::infinity() : 0;
  return negative ? -value : value;
}

std::optional<bool> ReadBoolean(std::string_view text) {
  const std::string_view t = Trim(text);
  if (EqualsIgnoringCase(t, "True")) return true;
  if (EqualsIgnoringCase(t, "False")) return false;
  const std::optional<Decimal> d = ParseDecimal(t);
  if (!d) return std::nullopt;
  return !AllZero(d->whole) || !AllZero(d->fraction);
}

std::optional<std::int32_t> RoundToInt32(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double floor = std::floor(value);
  const double above = value - floor;
  const bool up = above > 0.5 || (above == 0.5 && std::fmod(floor, 2.0) != 0);
  const double rounded = up ? floor + 1 : floor;
  if (rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

std::string WidthText(float width) {
  std::array<char, 64> buffer{};
  const auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), width, std::chars_format::fixed);
  return error == std::errc() ? std::string(buffer.data(), end) : std::string("0");
}

std::string BooleanText(bool value) {
  return value ? "True" : "False";
}

}  // namespace volumetra
