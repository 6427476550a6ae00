#pragma once

#include <functional>
#include <string>

namespace volumetra {

class Timer;

/// The event loop's side of the timers: told whenever a timer's interval or enabled state changes
/// (which restarts its countdown), when an idle timer is woken, and when a timer goes away.
class TimerHost {
 public:
  virtual ~TimerHost() = default;
  virtual void TimerChanged(Timer& timer) = 0;
  /// `timer` is no longer idle; its ticks go on in the rhythm they had.
  virtual void TimerWoken(Timer& timer) = 0;
  virtual void TimerRemoved(Timer& timer) = 0;
};

/// A window-message style timer: fires every `interval()` milliseconds while enabled and the
/// interval is above 0. Ticks never overlap and missed ticks are coalesced by the event loop.
class Timer {
 public:
  Timer(TimerHost& host, std::string name, int interval, bool enabled = true);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& name() const { return name_; }
  int interval() const { return interval_; }
  /// Setting a different interval restarts the countdown; setting the same one changes nothing.
  void setInterval(int milliseconds);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  /// True when the timer fires at all.
  bool active() const { return enabled_ && interval_ > 0; }

  /// An idle timer's ticks would change nothing, so it does not tick and never wakes the event
  /// loop. Its owner sets it idle after a tick that changed nothing and wakes it whenever something
  /// the tick reads changes. It keeps its rhythm meanwhile: once woken, its next tick comes when it
  /// would have come had it never been idle.
  bool idle() const { return idle_; }
  void setIdle(bool idle);

  /// Runs the handler; called by the event loop.
  void fire();

  std::function<void()> onTimer;

 private:
  TimerHost& host_;
  std::string name_;
  int interval_;
  bool enabled_;
  bool idle_ = false;
};

}  // namespace volumetra
