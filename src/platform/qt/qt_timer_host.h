#pragma once

#include <QTimer>
#include <cstdint>

#include "platform/timer.h"
#include "platform/timer_schedule.h"

namespace volumetra {

/// Runs the program's timers on one Qt timer of the event loop's thread, which wakes when the
/// shared schedule says and fires every tick due by then. Ticks never overlap, and
/// ticks missed while a handler ran come as one. A change of interval or enabled state restarts
/// the countdown; interval 0 stops the timer.
class QtTimerHost : public TimerHost {
 public:
  QtTimerHost();
  QtTimerHost(const QtTimerHost&) = delete;
  QtTimerHost& operator=(const QtTimerHost&) = delete;

  void TimerChanged(Timer& timer) override;
  void TimerWoken(Timer& timer) override;
  void TimerRemoved(Timer& timer) override;

  /// True while `timer` counts down to its next tick.
  bool running(const Timer& timer) const { return schedule_.due(timer) >= 0; }

 private:
  static std::int64_t now();
  void wake();
  // Sets the Qt timer to the schedule's next wake-up; waits while the ticks of one wake-up run.
  void rearm();

  TimerSchedule schedule_{kDesktopMaxLateMs};
  QTimer wakeUp_;
  bool waking_ = false;
};

}  // namespace volumetra
