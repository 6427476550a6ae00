#include "platform/scheduled_timer_host.h"

#include <algorithm>
#include <chrono>

namespace volumetra {

std::int64_t ScheduledTimerHost::now() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void ScheduledTimerHost::TimerChanged(Timer& timer) {
  schedule_.start(timer, now());
  rearm();
}

void ScheduledTimerHost::TimerWoken(Timer& timer) {
  schedule_.resume(timer, now());
  rearm();
}

void ScheduledTimerHost::TimerRemoved(Timer& timer) {
  schedule_.remove(timer);
  rearm();
}

void ScheduledTimerHost::wake() {
  if (waking_) return;
  waking_ = true;
  schedule_.fireDue(now(), &ScheduledTimerHost::now);
  waking_ = false;
  rearm();
}

void ScheduledTimerHost::rearm() {
  if (waking_) return;
  const std::int64_t wake = schedule_.nextWake();
  if (wake < 0) {
    disarm();
    return;
  }
  arm(std::clamp<std::int64_t>(wake - now(), 0, INT32_MAX));
}

}  // namespace volumetra
