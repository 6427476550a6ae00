#include "platform/win32/win32_timer_host.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace volumetra {
namespace {

constexpr const wchar_t* kWindowClass = L"VolumetraTimers";
constexpr UINT_PTR kWakeUp = 1;

void RegisterTimerClass() {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassW(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace

Win32TimerHost::Win32TimerHost() {
  RegisterTimerClass();
  window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32TimerHost::WindowProc));
}

Win32TimerHost::~Win32TimerHost() {
  if (armed_) KillTimer(window_, kWakeUp);
  DestroyWindow(window_);
}

LRESULT CALLBACK Win32TimerHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* host = reinterpret_cast<Win32TimerHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_TIMER && host && wParam == kWakeUp) {
    host->wake();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::int64_t Win32TimerHost::now() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Win32TimerHost::TimerChanged(Timer& timer) {
  schedule_.start(timer, now());
  rearm();
}

void Win32TimerHost::TimerWoken(Timer& timer) {
  schedule_.resume(timer, now());
  rearm();
}

void Win32TimerHost::TimerRemoved(Timer& timer) {
  schedule_.remove(timer);
  rearm();
}

void Win32TimerHost::wake() {
  if (waking_) return;
  waking_ = true;
  schedule_.fireDue(now(), &Win32TimerHost::now);
  waking_ = false;
  rearm();
}

void Win32TimerHost::rearm() {
  if (waking_) return;
  const std::int64_t wake = schedule_.nextWake();
  if (wake < 0) {
    if (std::exchange(armed_, false)) KillTimer(window_, kWakeUp);
    return;
  }
  // SetTimer on a running timer replaces its countdown.
  const auto delay = static_cast<UINT>(std::clamp<std::int64_t>(wake - now(), USER_TIMER_MINIMUM, INT32_MAX));
  armed_ = SetTimer(window_, kWakeUp, delay, nullptr) != 0;
}

}  // namespace volumetra
