#include "platform/qt/qt_timer_host.h"

#include <algorithm>
#include <chrono>

namespace volumetra {

QtTimerHost::QtTimerHost() {
  // The schedule decides which ticks share a wake-up, so the wake-up itself comes on time.
  wakeUp_.setTimerType(Qt::PreciseTimer);
  wakeUp_.setSingleShot(true);
  QObject::connect(&wakeUp_, &QTimer::timeout, &wakeUp_, [this] { wake(); });
}

std::int64_t QtTimerHost::now() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void QtTimerHost::TimerChanged(Timer& timer) {
  schedule_.start(timer, now());
  rearm();
}

void QtTimerHost::TimerWoken(Timer& timer) {
  schedule_.resume(timer, now());
  rearm();
}

void QtTimerHost::TimerRemoved(Timer& timer) {
  schedule_.remove(timer);
  rearm();
}

void QtTimerHost::wake() {
  waking_ = true;
  schedule_.fireDue(now(), &QtTimerHost::now);
  waking_ = false;
  rearm();
}

void QtTimerHost::rearm() {
  if (waking_) return;
  const std::int64_t wake = schedule_.nextWake();
  if (wake < 0) {
    wakeUp_.stop();
    return;
  }
  wakeUp_.start(static_cast<int>(std::clamp<std::int64_t>(wake - now(), 0, INT32_MAX)));
}

}  // namespace volumetra
