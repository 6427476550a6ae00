#pragma once

#include <cstdint>

#include "platform/timer.h"
#include "platform/timer_schedule.h"

namespace volumetra {

/// The event loop of the tests: timers run on a virtual clock that only `advance` moves, so a
/// minute of ticks takes no real time. Ticks fire in time order (ties in the order the timers
/// became active), never overlap, and ticks missed while a handler spent time are coalesced into
/// one. Fake OS calls spend virtual time with `spend`. By default every tick comes exactly when
/// due; `maxLateMs` lets ticks share wake-ups as the desktop loop does.
class VirtualEventLoop : public TimerHost {
 public:
  explicit VirtualEventLoop(std::int64_t maxLateMs = 0) : schedule_(maxLateMs) {}

  /// Milliseconds of virtual time since the loop was made.
  std::int64_t now() const { return now_; }
  /// A handler or fake OS call takes `milliseconds` of time.
  void spend(std::int64_t milliseconds) { now_ += milliseconds; }
  /// Runs every tick that falls due within the next `milliseconds`, then sets the clock to the end.
  void advance(std::int64_t milliseconds);
  /// How often the loop has woken to run ticks.
  std::int64_t wakeUps() const { return wakeUps_; }
  /// When `timer` fires next, or -1 when it is not active.
  std::int64_t nextDue(const Timer& timer) const { return schedule_.due(timer); }

  void TimerChanged(Timer& timer) override;
  void TimerWoken(Timer& timer) override;
  void TimerRemoved(Timer& timer) override;

 private:
  std::int64_t now_ = 0;
  std::int64_t wakeUps_ = 0;
  TimerSchedule schedule_;
};

}  // namespace volumetra
