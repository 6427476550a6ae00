#include "report/readable_size.h"

#include <cmath>
#include <cstdio>
#include <iterator>

namespace volumetra {
namespace {

/// The units from KB on; index 1 is the program's MB.
constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB", "PB"};
constexpr std::size_t kMegabyteUnit = 1;
constexpr double kStep = 1024;
/// A value that would be written with four digits goes to the next unit.
constexpr double kNextUnitFrom = 999.5;
/// Below this a value keeps one decimal.
constexpr double kWholeFrom = 9.95;

}  // namespace

std::string ReadableSize(double megabytes, const std::string& decimalSeparator) {
  double value = std::isfinite(megabytes) && megabytes > 0 ? megabytes : 0;
  std::size_t unit = kMegabyteUnit;
  if (value > 0 && value < 1) {
    value *= kStep;
    unit = 0;
  }
  while (value >= kNextUnitFrom && unit + 1 < std::size(kUnits)) {
    value /= kStep;
    ++unit;
  }
  char digits[64];
  const long tenths = std::lround(value * 10);
  if (value < kWholeFrom && tenths % 10 != 0) {
    std::snprintf(digits, sizeof digits, "%ld%s%ld", tenths / 10, decimalSeparator.c_str(), tenths % 10);
  } else {
    std::snprintf(digits, sizeof digits, "%.0f", std::round(value));
  }
  return std::string(digits) + " " + kUnits[unit];
}

}  // namespace volumetra
