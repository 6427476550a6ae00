#include "platform/timer_schedule.h"

#include <algorithm>

namespace volumetra {

std::int64_t TimerSchedule::lateness(const Timer& timer) const {
  return std::min<std::int64_t>(timer.interval() / 20, maxLateMs_);
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

void TimerSchedule::resume(const Timer& timer, std::int64_t now) {
  Entry* e = find(timer);
  if (!e || e->due >= now) return;
  // The ticks it skipped while idle would have come one interval apart.
  const std::int64_t interval = timer.interval();
  e->due += (now - e->due + interval - 1) / interval * interval;
}

void TimerSchedule::remove(const Timer& timer) {
  std::erase_if(entries_, [&](const Entry& e) { return e.timer == &timer; });
}

std::int64_t TimerSchedule::nextWake() const {
  std::vector<const Entry*> waiting;
  for (const Entry& e : entries_) {
    if (!e.timer->idle()) waiting.push_back(&e);
  }
  if (waiting.empty()) return -1;
  std::ranges::sort(waiting, {}, &Entry::due);
  // Wait for each next tick while every tick already waited for may still come that late.
  std::int64_t wake = waiting.front()->due;
  std::int64_t latest = wake + lateness(*waiting.front()->timer);
  for (const Entry* e : waiting) {
    if (e->due > latest) break;
    wake = e->due;
    latest = std::min(latest, e->due + lateness(*e->timer));
  }
  return wake;
}

std::int64_t TimerSchedule::due(const Timer& timer) const {
  const auto found = std::ranges::find(entries_, &timer, &Entry::timer);
  return found == entries_.end() ? -1 : found->due;
}

void TimerSchedule::fireDue(std::int64_t wakeTime, const std::function<std::int64_t()>& clock) {
  while (true) {
    Entry* next = nullptr;
    for (Entry& e : entries_) {
      if (e.timer->idle() || e.due > wakeTime) continue;
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
