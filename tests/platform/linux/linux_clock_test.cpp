#include "platform/linux/linux_clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace volumetra {
namespace {

const LocalDateTime kEvening{2026, 12, 8, 17, 15, 44};

bool LocaleInstalled(const char* name) {
  locale_t locale = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return false;
  freelocale(locale);
  return true;
}

TEST(LinuxClock, CLocaleFormsAndSeparatorFallbacks) {
  LinuxClock clock("C");
  EXPECT_EQ(clock.ShortDate(kEvening), "12/08/26");
  EXPECT_EQ(clock.LongTime(kEvening), "17:15:44");
  EXPECT_EQ(clock.ThousandsSeparator(), ",");  // the C locale has none
  EXPECT_EQ(clock.DecimalSeparator(), ".");
}

TEST(LinuxClock, GermanLocaleForms) {
  if (!LocaleInstalled("de_DE.UTF-8"))
    GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (package locales)";
  LinuxClock clock("de_DE.UTF-8");
  EXPECT_EQ(clock.ShortDate(kEvening), "08.12.2026");
  EXPECT_EQ(clock.LongTime(kEvening), "17:15:44");
  EXPECT_EQ(clock.ThousandsSeparator(), ".");
  EXPECT_EQ(clock.DecimalSeparator(), ",");
}

TEST(LinuxClock, UninstalledLocaleFallsBackToC) {
  LinuxClock clock("xx_NOWHERE.UTF-8");
  EXPECT_EQ(clock.ShortDate(kEvening), "12/08/26");
  EXPECT_EQ(clock.DecimalSeparator(), ".");
}

TEST(LinuxClock, NowIsTheLocalTime) {
  LinuxClock clock;
  const std::time_t before = std::time(nullptr);
  const LocalDateTime now = clock.Now();
  const std::time_t after = std::time(nullptr);
  std::tm fields = ToTm(now);
  const std::time_t shown = std::mktime(&fields);
  EXPECT_GE(shown, before);
  EXPECT_LE(shown, after);
}

}  // namespace
}  // namespace volumetra
