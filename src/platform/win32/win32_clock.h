#pragma once

#include <string>

#include "platform/clock_service.h"

namespace volumetra {

/// The local clock (GetLocalTime) and the forms of a Windows locale: GetDateFormatW's short date,
/// GetTimeFormatW's long time and GetLocaleInfoW's separators, in UTF-8 (a locale's separator may be
/// a character outside the ANSI code page, such as a narrow no-break space).
class Win32Clock : public ClockService {
 public:
  /// The user's locale.
  Win32Clock();
  /// The locale `localeId` (an LCID, 0x0407 for German), for tests.
  explicit Win32Clock(unsigned long localeId);

  LocalDateTime Now() override;
  std::int64_t SteadyMilliseconds() override;
  std::string ShortDate(const LocalDateTime& t) override;
  std::string LongTime(const LocalDateTime& t) override;
  /// The locale's thousands separator, "," where it has none.
  std::string ThousandsSeparator() override;
  /// The locale's decimal separator, "." where it has none.
  std::string DecimalSeparator() override;

 private:
  std::string LocaleText(unsigned long item, const char* fallback) const;

  unsigned long locale_;
};

}  // namespace volumetra
