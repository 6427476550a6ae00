#include "platform/timer_schedule.h"

#include <algorithm>

namespace volumetra {

std::int64_t TimerSchedule::earliness(const Timer& timer) const {
  return std::min<std::int64_t>(timer.interval() / 20, maxEarlyMs_);
}

TimerSchedule::Entry* TimerSchedule::find(const Timer& timer) {
  const auto found = std::ranges::find(entries_, &timer, &Entry::timer);
  return found == entries_.end() ? nullptr : &*found;
}

void TimerSchedule::start(Timer& timer, std::int64_t now) {
  if (!timer.active()) {
    remove(timer);
    return;
  }
  if (Entry* e = find(timer)) {
    e->due = now + timer.interval();
  } else {
    entries_.push_back({&timer, now + timer.interval(), nextOrder_++});
  }
}

void TimerSchedule::remove(const Timer& timer) {
  std::erase_if(entries_, [&](const Entry& e) { return e.timer == &timer; });
}

std::int64_t TimerSchedule::nextDue() const {
  std::int64_t earliest = -1;
  for (const Entry& e : entries_) {
    if (!e.timer->idle() && (earliest < 0 || e.due < earliest)) earliest = e.due;
  }
  return earliest;
}

std::int64_t TimerSchedule::due(const Timer& timer) const {
  const auto found = std::ranges::find(entries_, &timer, &Entry::timer);
  return found == entries_.end() ? -1 : found->due;
}

void TimerSchedule::fireDue(std::int64_t wakeTime, const std::function<std::int64_t()>& clock) {
  while (true) {
    Entry* next = nullptr;
    for (Entry& e : entries_) {
      if (e.timer->idle() || e.due - earliness(*e.timer) > wakeTime) continue;
      if (!next || e.due < next->due || (e.due == next->due && e.order < next->order)) next = &e;
    }
    if (!next) return;
    // The next tick counts from this one, so it lies beyond `wakeTime`; a handler that changes the
    // interval restarts the countdown from its own tick.
    Timer* timer = next->timer;
    next->due = clock() + timer->interval();
    timer->fire();
  }
}

}  // namespace volumetra
