#pragma once

#include <unordered_map>

#include "platform/timer.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

/// Runs the program's timers as Windows timers: one SetTimer per active timer on a message-only
/// window of the UI thread, so ticks arrive as WM_TIMER messages of the message loop. Windows
/// coalesces the ticks of a timer that come due while the loop is busy into one, and a tick that
/// arrives while another timer's handler runs (a handler that pumps messages) waits for the next
/// one, so ticks never overlap. A change of interval or enabled state restarts the countdown;
/// interval 0 stops it. An idle timer keeps its Windows timer, so it keeps its rhythm; its ticks are
/// skipped until it is woken.
class Win32TimerHost : public TimerHost {
 public:
  Win32TimerHost();
  ~Win32TimerHost() override;
  Win32TimerHost(const Win32TimerHost&) = delete;
  Win32TimerHost& operator=(const Win32TimerHost&) = delete;

  void TimerChanged(Timer& timer) override;
  void TimerWoken(Timer& timer) override;
  void TimerRemoved(Timer& timer) override;

  /// True while `timer` has a Windows timer counting down.
  bool running(const Timer& timer) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void tick(UINT_PTR id);

  HWND window_ = nullptr;
  UINT_PTR nextId_ = 1;
  std::unordered_map<const Timer*, UINT_PTR> ids_;
  std::unordered_map<UINT_PTR, Timer*> timers_;
  std::unordered_map<UINT_PTR, bool> armed_;
  bool firing_ = false;
};

}  // namespace volumetra
