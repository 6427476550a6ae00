#include "report/number_formats.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace volumetra {
namespace {

constexpr std::string_view kGridPattern = "# ### ### ##0";
constexpr const char* kNoValue = "-";

/// The decimal digits of a finite whole number's magnitude, without sign ("0" for zero). Exact
/// for every double, however large.
std::string WholeDigits(double whole) {
  const double magnitude = std::fabs(whole);
  // The usual sizes go the quick integer way; only huge values need the general conversion.
  if (magnitude < 1e18) {
    char quick[24];
    const auto end = std::to_chars(quick, quick + sizeof quick, static_cast<std::uint64_t>(magnitude)).ptr;
    return std::string(quick, end);
  }
  // The largest double has 309 digits.
  char digits[400];
  std::snprintf(digits, sizeof digits, "%.0f", magnitude);
  return digits;
}

}  // namespace

// A rounded negative zero tests as not negative, so it is written without a sign.

std::string FormatGrouped(double value) {
  if (!std::isfinite(value)) return kNoValue;
  const double whole = std::round(value);
  const std::string digits = WholeDigits(whole);
  // Filled from the right: the pattern's positions, then the digits that do not fit in front.
  std::string text(kGridPattern.size() + digits.size() + 1, ' ');
  std::size_t at = text.size();
  std::size_t unused = digits.size();  // digits still to place, counted from the left
  for (auto p = kGridPattern.rbegin(); p != kGridPattern.rend(); ++p) {
    if (*p == ' ') {
      text[--at] = ' ';
    } else if (unused > 0) {
      text[--at] = digits[--unused];
    }
  }
  while (unused > 0) text[--at] = digits[--unused];
  text.erase(0, at);
  if (whole < 0) text.insert(text.find_first_not_of(' '), 1, '-');
  return text;
}

std::string FormatThousands(double value, const std::string& thousandsSeparator) {
  if (!std::isfinite(value)) return kNoValue;
  const double whole = std::round(value);
  const std::string digits = WholeDigits(whole);
  std::string text = whole < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += thousandsSeparator;
    text += digits[i];
  }
  return text;
}

std::string FormatScale(double value) {
  if (!std::isfinite(value)) return kNoValue;
  const double whole = std::trunc(value);
  std::string text(1, whole < 0 ? '-' : ' ');
  text.append(WholeDigits(whole)).append(" MB");
  return text;
}

std::string FormatDecimal(double value) {
  if (!std::isfinite(value)) return kNoValue;
  const double whole = std::round(value);
  std::string text = WholeDigits(whole);
  if (whole < 0) text.insert(text.begin(), '-');
  return text;
}

std::string FormatGeneral(double value, const std::string& decimalSeparator) {
  if (!std::isfinite(value)) return " - ";
  if (value == 0) value = 0;  // no sign for a negative zero
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", std::fabs(value));
  std::string text;
  for (const char* c = buffer; *c; ++c) {
    if (*c == '.') {
      text += decimalSeparator;
    } else {
      text += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    }
  }
  return (value < 0 ? "-" : " ") + text + " ";
}

}  // namespace volumetra
