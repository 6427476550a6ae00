#pragma once

#include <cstdint>

#include "platform/scheduled_timer_host.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

/// Runs the program's timers (ScheduledTimerHost) on one Windows timer (SetTimer) of a
/// message-only window of the UI thread, which wakes the message loop with WM_TIMER.
class Win32TimerHost final : public ScheduledTimerHost {
 public:
  Win32TimerHost();
  ~Win32TimerHost() override;

  /// True while the Windows timer counts down to a wake-up of the loop.
  bool armed() const { return armed_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void arm(std::int64_t delayMs) override;
  void disarm() override;

  HWND window_ = nullptr;
  bool armed_ = false;
};

}  // namespace volumetra
