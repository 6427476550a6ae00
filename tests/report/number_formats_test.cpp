#include "report/number_formats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "report/bar_width.h"
#include "report/status_line.h"

namespace volumetra {
namespace {

struct Case {
  double value;
  const char* text;
};

TEST(NumberFormats, GroupedPatternPlacesDigitsIntoTenPositions) {
  const Case cases[] = {
      {0, "   0"},
      {123, "   123"},
      {1234567, " 1 234 567"},
      {1234567800, "1 234 567 800"},
      {2500, "  2 500"},
      {12345678901, "12 345 678 901"},
      {1e20, "100000000000 000 000 000"},
      {0.5, "   1"},  // halves away from zero
      {2.5, "   3"},
      {1234567.5, " 1 234 568"},
      {0.49, "   0"},
      {-0.4, "   0"},  // rounds to zero: no sign
      {-2.5, "   -3"},
      {-1234567, " -1 234 567"},
      {-1234567800, "-1 234 567 800"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatGrouped(c.value), c.text) << c.value;
}

TEST(NumberFormats, GridCellsOfBothUnitModes) {
  const double totalGB = 2.5, freeMB = 1234.5678;
  for (const double unit : {1000.0, 1000000.0}) {
    SCOPED_TRACE(unit);
    const bool mb = unit == 1000;
    EXPECT_EQ(FormatGrouped(totalGB * unit), mb ? "  2 500" : " 2 500 000");
    EXPECT_EQ(FormatGrouped(freeMB * unit), mb ? " 1 234 568" : "1 234 567 800");
    EXPECT_EQ(FormatGrouped(totalGB * 1000 * unit - freeMB * unit), mb ? " 1 265 432" : "1 265 432 200");
  }
}

TEST(NumberFormats, ThousandsUseTheUsersSeparator) {
  EXPECT_EQ(FormatThousands(0, ","), "0");
  EXPECT_EQ(FormatThousands(999.4, ","), "999");
  EXPECT_EQ(FormatThousands(999.5, ","), "1,000");
  EXPECT_EQ(FormatThousands(1234567, ","), "1,234,567");
  EXPECT_EQ(FormatThousands(1234567, "."), "1.234.567");
  EXPECT_EQ(FormatThousands(1234567, "\xA0"),
            "1\xA0"
            "234\xA0"
            "567");
  EXPECT_EQ(FormatThousands(-1234.5, ","), "-1,235");
  EXPECT_EQ(FormatThousands(1e18, ","), "1,000,000,000,000,000,000");
}

TEST(NumberFormats, ScaleIsCutTowardZero) {
  EXPECT_EQ(FormatScale(840000 / 250.0), " 3360 MB");
  EXPECT_EQ(FormatScale(840000 / 251.0), " 3346 MB");  // 3346.6
  EXPECT_EQ(FormatScale(840000), " 840000 MB");
  EXPECT_EQ(FormatScale(0.9), " 0 MB");
  EXPECT_EQ(FormatScale(-0.9), " 0 MB");
  EXPECT_EQ(FormatScale(-2.7), "-2 MB");
}

TEST(NumberFormats, DecimalIsPlain) {
  EXPECT_EQ(FormatDecimal(255), "255");
  EXPECT_EQ(FormatDecimal(0), "0");
  EXPECT_EQ(FormatDecimal(-1), "-1");
  EXPECT_EQ(FormatDecimal(std::numeric_limits<std::int32_t>::min()), "-2147483648");
  EXPECT_EQ(FormatDecimal(305419896), "305419896");
}

TEST(NumberFormats, GeneralFormOfTheLog) {
  EXPECT_EQ(FormatGeneral(1234.5, "."), " 1234.5 ");
  EXPECT_EQ(FormatGeneral(1234.5, ","), " 1234,5 ");
  EXPECT_EQ(FormatGeneral(1234.5678, "."), " 1234.5678 ");
  EXPECT_EQ(FormatGeneral(0, "."), " 0 ");
  EXPECT_EQ(FormatGeneral(-0.0, "."), " 0 ");
  EXPECT_EQ(FormatGeneral(-12.25, "."), "-12.25 ");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2, "."), " 0.3 ");  // 15 significant digits
  EXPECT_EQ(FormatGeneral(123456789012.345678, "."), " 123456789012.346 ");
  EXPECT_EQ(FormatGeneral(0.00048828125, "."), " 0.00048828125 ");  // one 512-byte sector
  EXPECT_EQ(FormatGeneral(4194304000, "."), " 4194304000 ");        // 4 PB, no grouping
  EXPECT_EQ(FormatGeneral(1e15, "."), " 1E+15 ");
}

TEST(NumberFormats, ValuesThatAreNotNumbersGiveADash) {
  for (const double v : {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(FormatGrouped(v), "-");
    EXPECT_EQ(FormatThousands(v, ","), "-");
    EXPECT_EQ(FormatScale(v), "-");
    EXPECT_EQ(FormatDecimal(-v), "-");
    EXPECT_EQ(FormatGeneral(v, "."), " - ");
  }
}

TEST(NumberFormats, HugeValuesKeepAllDigits) {
  const std::string grouped = FormatGrouped(std::numeric_limits<double>::max());
  EXPECT_EQ(grouped.size(), 309u + 3u);
  EXPECT_EQ(grouped.substr(0, 4), "1797");
  EXPECT_EQ(FormatThousands(-std::numeric_limits<double>::max(), ",").size(), 1u + 309u + 102u);
}

TEST(BarWidth, RoundsHalvesToEvenAndClamps) {
  EXPECT_EQ(BarWidth(2.5), 2.0f);
  EXPECT_EQ(BarWidth(3.5), 4.0f);
  EXPECT_EQ(BarWidth(4141.4), 4141.0f);
  EXPECT_EQ(BarWidth(16777213.5), 16777214.0f);
  EXPECT_EQ(BarWidth(16777215.4), kMaxBarWidth);
  EXPECT_EQ(BarWidth(1e6 * 10 * 10001), kMaxBarWidth);  // a petabyte drive at the largest scale
  EXPECT_EQ(BarWidth(std::numeric_limits<double>::infinity()), kMaxBarWidth);
  EXPECT_EQ(BarWidth(-5), 0.0f);
  EXPECT_EQ(BarWidth(std::numeric_limits<double>::quiet_NaN()), 0.0f);
  EXPECT_EQ(static_cast<std::int64_t>(kMaxBarWidth), 16777215);  // held exactly
}

TEST(StatusLine, CountDateAndTimeOrTheFailures) {
  EXPECT_EQ(StatusLine(7, "2026-12-08", "10:00:00", "", ""),
            "Testloop No. 7" + std::string(26, ' ') + "2026-12-08   10:00:00");
  EXPECT_EQ(
      StatusLine(7, "2026-12-08", "10:00:00", "", "/x/LOG.TXT: No space left on device"),
      "Testloop No. 7   Log file not written: /x/LOG.TXT: No space left on device   2026-12-08   10:00:00");
  EXPECT_EQ(StatusLine(7, "2026-12-08", "10:00:00", "/ro/volumetra.ini: Read-only file system", ""),
            "Testloop No. 7   Settings not saved: /ro/volumetra.ini: Read-only file system   2026-12-08   "
            "10:00:00");
  EXPECT_EQ(
      StatusLine(7, "2026-12-08", "10:00:00", "/ro/volumetra.ini: Permission denied", "/x/L: Is a directory"),
      "Testloop No. 7   Settings not saved: /ro/volumetra.ini: Permission denied   Log file not written: "
      "/x/L: Is a directory   2026-12-08   10:00:00");
}

}  // namespace
}  // namespace volumetra
