#include "platform/headless/virtual_event_loop.h"

#include <algorithm>

namespace volumetra {

VirtualEventLoop::Entry* VirtualEventLoop::find(const Timer& timer) {
  for (Entry& e : entries_) {
    if (e.timer == &timer) return &e;
  }
  return nullptr;
}

const VirtualEventLoop::Entry* VirtualEventLoop::find(const Timer& timer) const {
  return const_cast<VirtualEventLoop*>(this)->find(timer);
}

void VirtualEventLoop::TimerChanged(Timer& timer) {
  Entry* e = find(timer);
  if (!timer.active()) {
    if (e) std::erase_if(entries_, [&](const Entry& x) { return x.timer == &timer; });
    return;
  }
  if (e) {
    e->due = now_ + timer.interval();
  } else {
    entries_.push_back({&timer, now_ + timer.interval(), nextOrder_++});
  }
}

void VirtualEventLoop::TimerRemoved(Timer& timer) {
  std::erase_if(entries_, [&](const Entry& x) { return x.timer == &timer; });
}

std::int64_t VirtualEventLoop::nextDue(const Timer& timer) const {
  const Entry* e = find(timer);
  return e ? e->due : -1;
}

void VirtualEventLoop::advance(std::int64_t milliseconds) {
  const std::int64_t end = now_ + milliseconds;
  while (true) {
    auto next = std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
      return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    if (next == entries_.end() || next->due > end) break;
    now_ = std::max(now_, next->due);
    Timer* timer = next->timer;
    // The next tick counts from this one; a handler that changes the interval restarts it.
    next->due = now_ + timer->interval();
    timer->fire();
  }
  now_ = std::max(now_, end);
}

}  // namespace volumetra
