#include "settings/setting_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace volumetra {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(SettingConversions, IntegerRoundsHalvesToEvenOnTheExactDigits) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"0", 0},
      {"-12", -12},
      {"+7", 7},
      {" 42\t", 42},
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"-3.5", -4},
      {"2.5000000000000001", 3},
      {"2.4999", 2},
      {".5", 0},
      {"1.", 1},
      {"2147483647", kMax},
      {"-2147483648", kMin},
      {"0002147483647", kMax},
      {"-2147483648.5", kMin},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadInteger(c.text), c.value) << c.text;
}

TEST(SettingConversions, IntegerFailsOnTextAndBeyondThirtyTwoBits) {
  for (const char* text : {"", " ", "abc", "12abc", "1e3", "1,000", "--1", "+-1", ".", "-", "1.2.3",
                           "2147483648", "-2147483649", "2147483647.5", "99999999999"}) {
    EXPECT_EQ(ReadInteger(text), std::nullopt) << text;
  }
}

TEST(SettingConversions, LenientNumberTakesTheLongestLeadingNumber) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"9000", 9000}, {"-300", -300}, {" 12 34", 1234}, {"- 5", -5},   {"+7", 7},
      {"5-3", 5},     {"1.2.3", 1.2}, {".5", 0.5},      {"12abc", 12}, {"1e5", 1},
      {"wide", 0},    {"", 0},        {"-", 0},         {".", 0},      {"5310.5", 5310.5},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ReadLenientNumber(c.text), c.value) << c.text;
  EXPECT_EQ(ReadLenientNumber("-1" + std::string(400, '0')), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(ReadLenientNumber("0." + std::string(400, '0') + "1"), 0);
}

TEST(SettingConversions, BooleanIsAWordInAnyCaseOrANumber) {
  for (const char* text : {"True", "TRUE", "true", "-1", "2", "0.4", " 1 "})
    EXPECT_EQ(ReadBoolean(text), true) << text;
  for (const char* text : {"False", "fAlSe", "0", "-0", "0.0"}) EXPECT_EQ(ReadBoolean(text), false) << text;
  for (const char* text : {"", "yes", "Truee", "1x", "T"}) EXPECT_EQ(ReadBoolean(text), std::nullopt) << text;
}

TEST(SettingConversions, RoundingIsHalfToEvenWithinThirtyTwoBits) {
  EXPECT_EQ(RoundToInt32(0.5), 0);
  EXPECT_EQ(RoundToInt32(1.5), 2);
  EXPECT_EQ(RoundToInt32(-0.5), 0);
  EXPECT_EQ(RoundToInt32(-1.5), -2);
  EXPECT_EQ(RoundToInt32(5310.49), 5310);
  EXPECT_EQ(RoundToInt32(2147483647.4), kMax);
  EXPECT_EQ(RoundToInt32(-2147483648.5), kMin);
  EXPECT_EQ(RoundToInt32(2147483647.5), std::nullopt);
  EXPECT_EQ(RoundToInt32(-2147483649.0), std::nullopt);
  EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(RoundToInt32(std::nan("")), std::nullopt);
}

TEST(SettingConversions, WidthsAreWrittenPlainAndReadBackExactly) {
  EXPECT_EQ(WidthText(5310), "5310");
  EXPECT_EQ(WidthText(9600), "9600");
  EXPECT_EQ(WidthText(5310.5f), "5310.5");
  EXPECT_EQ(WidthText(0.1f), "0.1");
  EXPECT_EQ(WidthText(1e10f), "10000000000");
  for (const float width : {1234.567f, 5400.75f, 0.1f, 8191.9990234375f}) {
    EXPECT_EQ(static_cast<float>(ReadLenientNumber(WidthText(width))), width) << WidthText(width);
  }
  EXPECT_EQ(BooleanText(true), "True");
  EXPECT_EQ(BooleanText(false), "False");
}

}  // namespace
}  // namespace volumetra
