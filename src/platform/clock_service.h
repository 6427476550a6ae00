#pragma once

#include <cstdint>
#include <string>

namespace volumetra {

/// A local date and time of day, as the user's clock shows it.
struct LocalDateTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

/// The clock and the user's locale.
class ClockService {
 public:
  virtual ~ClockService() = default;

  virtual LocalDateTime Now() = 0;
  /// Milliseconds of a clock that only runs forward, from an arbitrary start: for how long ago
  /// something happened, whatever the user does to the local clock meanwhile.
  virtual std::int64_t SteadyMilliseconds() = 0;
  /// The date in the user's short date form (for example 08/12/2026 or 08.12.26).
  virtual std::string ShortDate(const LocalDateTime& t) = 0;
  /// The time in the user's long time form (for example 17:15:44 or 5:15:44 PM).
  virtual std::string LongTime(const LocalDateTime& t) = 0;
  virtual std::string ThousandsSeparator() = 0;
  virtual std::string DecimalSeparator() = 0;
};

}  // namespace volumetra
