#pragma once

#include <QObject>
#include <QTimer>
#include <unordered_map>

#include "platform/timer.h"

namespace volumetra {

/// Runs the program's timers as Qt timers on the event loop's thread: ticks never overlap, and
/// ticks missed while a handler ran come as one. A change of interval or enabled state restarts
/// the countdown; interval 0 stops the timer.
class QtTimerHost : public TimerHost {
 public:
  QtTimerHost() = default;
  QtTimerHost(const QtTimerHost&) = delete;
  QtTimerHost& operator=(const QtTimerHost&) = delete;

  void TimerChanged(Timer& timer) override;
  void TimerRemoved(Timer& timer) override;

  /// True while `timer` counts down to its next tick.
  bool running(const Timer& timer) const;

 private:
  // Parent of every QTimer: what is still waiting for deletion goes with the host.
  QObject owner_;
  std::unordered_map<const Timer*, QTimer*> timers_;
};

}  // namespace volumetra
