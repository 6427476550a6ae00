#pragma once

#include <cstdint>

#include "platform/timer.h"
#include "platform/timer_schedule.h"

namespace volumetra {

/// Runs the program's timers on one wake-up of the event loop's own timer, which comes when the
/// shared schedule says and fires every tick due by then: timers due together share one wake-up,
/// and an idle timer wakes nothing. Ticks never overlap: a wake-up that comes while a handler runs
/// (a handler that pumps events) waits for the next one, and the ticks missed meanwhile come as
/// one. A change of interval or enabled state restarts the countdown; interval 0 stops the timer.
/// The backend arms and disarms its event loop's timer, and calls wake() when it goes off.
class ScheduledTimerHost : public TimerHost {
 public:
  ScheduledTimerHost() = default;
  ScheduledTimerHost(const ScheduledTimerHost&) = delete;
  ScheduledTimerHost& operator=(const ScheduledTimerHost&) = delete;

  void TimerChanged(Timer& timer) override;
  void TimerWoken(Timer& timer) override;
  void TimerRemoved(Timer& timer) override;

  /// True while `timer` counts down to its next tick.
  bool running(const Timer& timer) const { return schedule_.due(timer) >= 0; }

 protected:
  /// The event loop's timer goes off: every tick due now fires.
  void wake();
  /// Sets the event loop's timer to go off once, in `delayMs` (0 or more) milliseconds, replacing
  /// a countdown under way.
  virtual void arm(std::int64_t delayMs) = 0;
  /// Stops the event loop's timer.
  virtual void disarm() = 0;

 private:
  static std::int64_t now();
  // Sets the event loop's timer to the schedule's next wake-up; waits while the ticks of one
  // wake-up run.
  void rearm();

  TimerSchedule schedule_{kDesktopMaxLateMs};
  bool waking_ = false;
};

}  // namespace volumetra
