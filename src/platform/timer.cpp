#include "platform/timer.h"

#include <utility>

namespace volumetra {

Timer::Timer(TimerHost& host, std::string name, int interval, bool enabled)
    : host_(host), name_(std::move(name)), interval_(interval < 0 ? 0 : interval), enabled_(enabled) {
  host_.TimerChanged(*this);
}

Timer::~Timer() {
  host_.TimerRemoved(*this);
}

void Timer::setInterval(int milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  host_.TimerChanged(*this);
}

void Timer::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  host_.TimerChanged(*this);
}

void Timer::setIdle(bool idle) {
  if (idle == idle_) return;
  idle_ = idle;
  if (!idle_) host_.TimerWoken(*this);
}

void Timer::fire() {
  if (active() && onTimer) onTimer();
}

}  // namespace volumetra
