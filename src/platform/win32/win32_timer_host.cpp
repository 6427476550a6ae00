#include "platform/win32/win32_timer_host.h"

#include <utility>

namespace volumetra {
namespace {

constexpr const char* kWindowClass = "VolumetraTimers";

void RegisterTimerClass() {
  static const bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassA(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace

Win32TimerHost::Win32TimerHost() {
  RegisterTimerClass();
  window_ = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32TimerHost::WindowProc));
}

Win32TimerHost::~Win32TimerHost() {
  for (const auto& [id, armed] : armed_) {
    if (armed) KillTimer(window_, id);
  }
  DestroyWindow(window_);
}

LRESULT CALLBACK Win32TimerHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* host = reinterpret_cast<Win32TimerHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_TIMER && host) {
    host->tick(wParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void Win32TimerHost::TimerChanged(Timer& timer) {
  auto [it, added] = ids_.try_emplace(&timer, 0);
  if (added) {
    it->second = nextId_++;
    timers_[it->second] = &timer;
  }
  const UINT_PTR id = it->second;
  if (timer.active()) {
    // SetTimer on a running id replaces it: the countdown starts again.
    armed_[id] = SetTimer(window_, id, static_cast<UINT>(timer.interval()), nullptr) != 0;
  } else if (std::exchange(armed_[id], false)) {
    KillTimer(window_, id);
  }
}

void Win32TimerHost::TimerWoken(Timer& /*timer*/) {
  // Its Windows timer never stopped: the next tick comes on the rhythm it had.
}

void Win32TimerHost::TimerRemoved(Timer& timer) {
  const auto it = ids_.find(&timer);
  if (it == ids_.end()) return;
  const UINT_PTR id = it->second;
  if (armed_[id]) KillTimer(window_, id);
  armed_.erase(id);
  timers_.erase(id);
  ids_.erase(it);
}

bool Win32TimerHost::running(const Timer& timer) const {
  const auto it = ids_.find(&timer);
  if (it == ids_.end()) return false;
  const auto armed = armed_.find(it->second);
  return armed != armed_.end() && armed->second;
}

void Win32TimerHost::tick(UINT_PTR id) {
  const auto it = timers_.find(id);
  if (it == timers_.end() || firing_) return;
  Timer& timer = *it->second;
  // An idle timer's Windows timer goes on, so it keeps its rhythm; its ticks change nothing and
  // are skipped until its owner wakes it.
  if (timer.idle()) return;
  firing_ = true;
  timer.fire();  // may remove this timer, or others
  firing_ = false;
}

}  // namespace volumetra
