#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/timer.h"

namespace volumetra {

/// How late the desktop event loop lets a tick come to share a wake-up with another timer's, as
/// the platforms' own coarse timers do: the survey, housekeeping and log timers (about 500 ms)
/// then wake the program together instead of one after another.
inline constexpr std::int64_t kDesktopMaxLateMs = 25;

/// The due times of a set of timers, in milliseconds of one clock, shared by the desktop event
/// loop and the virtual loop of the tests. A tick falls due one interval after the previous tick
/// of its timer began, or after the timer was started or changed; it never comes earlier. To let
/// timers that fall due close together share one wake-up of the event loop, a tick may come late
/// by up to 5 % of its interval, at most `maxLateMs`; with `maxLateMs` 0 every tick comes exactly
/// when due. An idle timer neither ticks nor wakes the loop, but keeps its phase: once woken it
/// ticks when it would have ticked had it never been idle.
class TimerSchedule {
 public:
  explicit TimerSchedule(std::int64_t maxLateMs) : maxLateMs_(maxLateMs) {}

  /// (Re)starts the countdown of an active timer at `now`; forgets an inactive one.
  void start(Timer& timer, std::int64_t now);
  /// An idle timer is woken at `now`: its next tick comes on its phase, at or after `now`.
  void resume(const Timer& timer, std::int64_t now);
  void remove(const Timer& timer);

  /// When the event loop must wake next, or -1 when no timer that is not idle is due: as late as
  /// the earliest due tick allows, so that the ticks that fall due by then share the wake-up.
  std::int64_t nextWake() const;
  /// When `timer` falls due next, or -1 when it is not active.
  std::int64_t due(const Timer& timer) const;

  /// Fires, one after another, every timer that is not idle and falls due by `wakeTime`: earliest
  /// due first, ties in the order the timers became active. `clock` gives the time each tick
  /// begins, from which its timer's next tick counts; a timer fires at most once per call, so a
  /// slow handler cannot keep the loop here and missed ticks come as one.
  void fireDue(std::int64_t wakeTime, const std::function<std::int64_t()>& clock);

 private:
  struct Entry {
    Timer* timer;
    std::int64_t due;
    std::uint64_t order;
  };
  std::int64_t lateness(const Timer& timer) const;
  Entry* find(const Timer& timer);

  std::int64_t maxLateMs_;
  std::uint64_t nextOrder_ = 0;
  std::vector<Entry> entries_;
};

}  // namespace volumetra
