#pragma once

#include <cstdint>
#include <vector>

#include "platform/timer.h"

namespace volumetra {

/// The event loop of the tests: timers run on a virtual clock that only `advance` moves, so a
/// minute of ticks takes no real time. Ticks fire in time order (ties in the order the timers
/// became active), never overlap, and ticks missed while a handler spent time are coalesced into
/// one. Fake OS calls spend virtual time with `spend`.
class VirtualEventLoop : public TimerHost {
 public:
  /// Milliseconds of virtual time since the loop was made.
  std::int64_t now() const { return now_; }
  /// A handler or fake OS call takes `milliseconds` of time.
  void spend(std::int64_t milliseconds) { now_ += milliseconds; }
  /// Runs every tick that falls due within the next `milliseconds`, then sets the clock to the end.
  void advance(std::int64_t milliseconds);
  /// When `timer` fires next, or -1 when it is not active.
  std::int64_t nextDue(const Timer& timer) const;

  void TimerChanged(Timer& timer) override;
  void TimerRemoved(Timer& timer) override;

 private:
  struct Entry {
    Timer* timer;
    std::int64_t due;
    std::uint64_t order;
  };
  Entry* find(const Timer& timer);
  const Entry* find(const Timer& timer) const;

  std::int64_t now_ = 0;
  std::uint64_t nextOrder_ = 0;
  std::vector<Entry> entries_;
};

}  // namespace volumetra
