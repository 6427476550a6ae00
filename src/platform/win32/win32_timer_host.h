#pragma once

#include <cstdint>

#include "platform/timer.h"
#include "platform/timer_schedule.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

/// Runs the program's timers on one Windows timer (SetTimer) of a message-only window of the UI
/// thread, which wakes the message loop with WM_TIMER when the shared schedule says and fires every
/// tick due by then, as the Qt backend does: timers due together (the survey and housekeeping
/// timers) share one wake-up, and an idle timer wakes nothing. Ticks never overlap: a wake-up that
/// arrives while a handler runs (a handler that pumps messages) waits for the next one, and the
/// ticks missed meanwhile come as one. A change of interval or enabled state restarts the
/// countdown; interval 0 stops the timer.
class Win32TimerHost : public TimerHost {
 public:
  Win32TimerHost();
  ~Win32TimerHost() override;
  Win32TimerHost(const Win32TimerHost&) = delete;
  Win32TimerHost& operator=(const Win32TimerHost&) = delete;

  void TimerChanged(Timer& timer) override;
  void TimerWoken(Timer& timer) override;
  void TimerRemoved(Timer& timer) override;

  /// True while `timer` counts down to its next tick.
  bool running(const Timer& timer) const { return schedule_.due(timer) >= 0; }
  /// True while the Windows timer counts down to a wake-up of the loop.
  bool armed() const { return armed_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static std::int64_t now();
  void wake();
  // Sets the Windows timer to the schedule's next wake-up; waits while the ticks of one wake-up run.
  void rearm();

  HWND window_ = nullptr;
  TimerSchedule schedule_{kDesktopMaxLateMs};
  bool armed_ = false;
  bool waking_ = false;
};

}  // namespace volumetra
