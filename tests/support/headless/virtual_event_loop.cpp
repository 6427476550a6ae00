#include "support/headless/virtual_event_loop.h"

#include <algorithm>

namespace volumetra {

void VirtualEventLoop::TimerChanged(Timer& timer) {
  schedule_.start(timer, now_);
}

void VirtualEventLoop::TimerWoken(Timer& timer) {
  schedule_.resume(timer, now_);
}

void VirtualEventLoop::TimerRemoved(Timer& timer) {
  schedule_.remove(timer);
}

void VirtualEventLoop::advance(std::int64_t milliseconds) {
  const std::int64_t end = now_ + milliseconds;
  for (std::int64_t wake = schedule_.nextWake(); wake >= 0 && wake <= end; wake = schedule_.nextWake()) {
    now_ = std::max(now_, wake);
    ++wakeUps_;
    schedule_.fireDue(now_, [this] { return now_; });
  }
  now_ = std::max(now_, end);
}

}  // namespace volumetra
