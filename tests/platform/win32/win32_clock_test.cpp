#include "platform/win32/win32_clock.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/win32/windows_api.h"

namespace volumetra {
namespace {

constexpr unsigned long kEnglishUs = 0x0409;
constexpr unsigned long kGerman = 0x0407;
const LocalDateTime kEvening{2026, 12, 8, 17, 45, 22};

TEST(Win32Clock, FormsOfAnEnglishLocale) {
  Win32Clock clock(kEnglishUs);
  EXPECT_EQ(clock.ShortDate(kEvening), "12/8/2026");
  EXPECT_EQ(clock.LongTime(kEvening), "5:45:22 PM");
  EXPECT_EQ(clock.ThousandsSeparator(), ",");
  EXPECT_EQ(clock.DecimalSeparator(), ".");
}

TEST(Win32Clock, FormsOfAGermanLocale) {
  Win32Clock clock(kGerman);
  // Windows writes the day with two digits, Wine with one.
  EXPECT_TRUE(std::regex_match(clock.ShortDate(kEvening), std::regex("0?8\\.12\\.2026")))
      << clock.ShortDate(kEvening);
  EXPECT_EQ(clock.LongTime(kEvening), "17:45:22");
  EXPECT_EQ(clock.ThousandsSeparator(), ".");
  EXPECT_EQ(clock.DecimalSeparator(), ",");
}

TEST(Win32Clock, FormsOutsideTheAnsiCodePageComeWhole) {
  constexpr unsigned long kGreek = 0x0408;
  constexpr unsigned long kBulgarian = 0x0402;
  // The afternoon mark "μμ" ("μ.μ." in Wine) and the year mark "г." have no Windows-1252 form.
  const std::string greekTime = Win32Clock(kGreek).LongTime(kEvening);
  EXPECT_TRUE(greekTime.starts_with("5:45:22 μ")) << greekTime;
  const std::string bulgarianDate = Win32Clock(kBulgarian).ShortDate(kEvening);
  EXPECT_TRUE(bulgarianDate.ends_with("г.")) << bulgarianDate;
}

TEST(Win32Clock, NowIsTheLocalTime) {
  Win32Clock clock;
  SYSTEMTIME before{};
  GetLocalTime(&before);
  const LocalDateTime now = clock.Now();
  EXPECT_EQ(now.year, before.wYear);
  EXPECT_EQ(now.month, before.wMonth);
  EXPECT_GE(now.hour * 3600 + now.minute * 60 + now.second,
            before.wHour * 3600 + before.wMinute * 60 + before.wSecond);
}

}  // namespace
}  // namespace volumetra
