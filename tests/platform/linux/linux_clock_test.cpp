#include "platform/linux/linux_clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

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

// scripts/setup.sh generates these locales, so the user's forms are tested, not assumed.
constexpr const char* kSetUp = " is not installed: scripts/setup.sh generates it (package locales)";

/// The forms of one locale at 17:15:44 and at 00:05:09 on 8 December 2026.
struct LocaleForms {
  const char* locale;
  const char* date;
  const char* evening;
  const char* afterMidnight;
  const char* thousands;
  const char* decimal;
};

// German; American, with the month first and a twelve-hour clock; French, with slashes and a
// narrow no-break space (a multi-byte separator, kept whole).
constexpr LocaleForms kLocales[] = {
    {"de_DE.UTF-8", "08.12.2026", "17:15:44", "00:05:09", ".", ","},
    {"en_US.UTF-8", "12/08/2026", "05:15:44 PM", "12:05:09 AM", ",", "."},
    {"fr_FR.UTF-8", "08/12/2026", "17:15:44", "00:05:09", "\u202f", ","},
};

TEST(LinuxClock, TheFormsOfInstalledLocales) {
  for (const LocaleForms& forms : kLocales) {
    SCOPED_TRACE(forms.locale);
    ASSERT_TRUE(LocaleInstalled(forms.locale)) << forms.locale << kSetUp;
    LinuxClock clock(forms.locale);
    EXPECT_EQ(clock.ShortDate(kEvening), forms.date);
    EXPECT_EQ(clock.LongTime(kEvening), forms.evening);
    EXPECT_EQ(clock.LongTime({2026, 12, 8, 0, 5, 9}), forms.afterMidnight);
    EXPECT_EQ(clock.ThousandsSeparator(), forms.thousands);
    EXPECT_EQ(clock.DecimalSeparator(), forms.decimal);
  }
}

TEST(LinuxClock, TheUsersEnvironmentChoosesTheForms) {
  ASSERT_TRUE(LocaleInstalled("de_DE.UTF-8")) << "de_DE.UTF-8" << kSetUp;
  const char* old = std::getenv("LC_ALL");
  const std::string saved = old ? old : "";
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  LinuxClock german;
  setenv("LC_ALL", "en_US.UTF-8", 1);
  LinuxClock american;
  if (old) {
    setenv("LC_ALL", saved.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
  EXPECT_EQ(german.ShortDate(kEvening), "08.12.2026");
  EXPECT_EQ(german.DecimalSeparator(), ",");
  EXPECT_EQ(american.ShortDate(kEvening), "12/08/2026");
  EXPECT_EQ(american.DecimalSeparator(), ".");
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
