#pragma once

#include <string>

#include "platform/clock_service.h"
#include "support/headless/virtual_event_loop.h"

namespace volumetra {

/// A clock that reads the virtual event loop: the local time is `start` plus the loop's virtual
/// milliseconds. Date and time forms and separators are fixed, settable texts.
class FakeClock : public ClockService {
 public:
  FakeClock(const VirtualEventLoop& loop, LocalDateTime start) : loop_(loop), start_(start) {}

  LocalDateTime Now() override;
  /// The loop's virtual milliseconds.
  std::int64_t SteadyMilliseconds() override { return loop_.now(); }
  /// "yyyy-mm-dd"
  std::string ShortDate(const LocalDateTime& t) override;
  /// "hh:mm:ss"
  std::string LongTime(const LocalDateTime& t) override;
  std::string ThousandsSeparator() override { return thousands; }
  std::string DecimalSeparator() override { return decimal; }

  std::string thousands = ",";
  std::string decimal = ".";

 private:
  const VirtualEventLoop& loop_;
  LocalDateTime start_;
};

}  // namespace volumetra
