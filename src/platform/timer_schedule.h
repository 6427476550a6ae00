#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/timer.h"

namespace volumetra {

/// How early the desktop event loop lets a tick come to share a wake-up: the survey, housekeeping
/// and log timers (about 500 ms) and the options dialog's 250 ms timer then wake the program
/// together instead of one after another.
inline constexpr std::int64_t kDesktopMaxEarlyMs = 25;

/// The due times of a set of timers, in milliseconds of one clock. A tick falls due one interval
/// after the previous tick began, or after the timer was started or changed. To let timers that
/// fall due close together share one wake-up of the event loop, a tick may come early by up to 5 %
/// of its interval, at most `maxEarlyMs`, when the loop wakes for another timer; it never comes
/// late for that reason. With `maxEarlyMs` 0 every tick comes exactly when due. Idle timers do not
/// tick.
class TimerSchedule {
 public:
  explicit TimerSchedule(std::int64_t maxEarlyMs) : maxEarlyMs_(maxEarlyMs) {}

  /// (Re)starts the countdown of an active timer at `now`; forgets an inactive one.
  void start(Timer& timer, std::int64_t now);
  void remove(const Timer& timer);

  /// When the event loop must wake next: the earliest due time of the timers that are not idle, or
  /// -1 when there is none.
  std::int64_t nextDue() const;
  /// When `timer` fires next, or -1 when it is not active.
  std::int64_t due(const Timer& timer) const;

  /// Fires, one after another, every timer that is not idle and whose tick may come at
  /// `wakeTime`: earliest due first, ties in the order the timers became active. `clock` gives the
  /// time each tick begins; a timer fires at most once per call, so a slow handler cannot keep the
  /// loop here.
  void fireDue(std::int64_t wakeTime, const std::function<std::int64_t()>& clock);

 private:
  struct Entry {
    Timer* timer;
    std::int64_t due;
    std::uint64_t order;
  };
  std::int64_t earliness(const Timer& timer) const;
  Entry* find(const Timer& timer);

  std::int64_t maxEarlyMs_;
  std::uint64_t nextOrder_ = 0;
  std::vector<Entry> entries_;
};

}  // namespace volumetra
