#pragma once

#include <locale.h>

#include <ctime>
#include <string>

#include "platform/clock_service.h"

namespace volumetra {

/// The local clock and the user's date, time and number forms. The forms come from a locale
/// object of this service's own (LC_TIME and LC_NUMERIC of the environment), so the process-wide
/// C locale is left alone: setting it would change how the rest of the program, and every library
/// in it, reads and writes numbers.
/// The C library's broken-down form of a local date and time (daylight saving left to the
/// library to decide).
std::tm ToTm(const LocalDateTime& t);

class LinuxClock : public ClockService {
 public:
  /// The user's locale, as LC_ALL, LC_TIME, LC_NUMERIC and LANG name it; the C locale when that
  /// locale is not installed.
  LinuxClock();
  /// The locale `localeName` ("de_DE.UTF-8"), or the C locale when it is not installed.
  explicit LinuxClock(const char* localeName);
  ~LinuxClock() override;
  LinuxClock(const LinuxClock&) = delete;
  LinuxClock& operator=(const LinuxClock&) = delete;

  LocalDateTime Now() override;
  std::int64_t SteadyMilliseconds() override;
  /// strftime's %x: the locale's date form.
  std::string ShortDate(const LocalDateTime& t) override;
  /// strftime's %X: the locale's time form.
  std::string LongTime(const LocalDateTime& t) override;
  /// The locale's thousands separator (which may be a multi-byte character such as a narrow
  /// no-break space), or "," where the locale has none, as in the C locale.
  std::string ThousandsSeparator() override;
  /// The locale's decimal separator, "." where it has none.
  std::string DecimalSeparator() override;

 private:
  std::string Format(const char* format, const LocalDateTime& t) const;

  locale_t locale_;
};

}  // namespace volumetra
