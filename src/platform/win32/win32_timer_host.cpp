#include "platform/win32/win32_timer_host.h"

#include <algorithm>
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

void Win32TimerHost::arm(std::int64_t delayMs) {
  // SetTimer on a running timer replaces its countdown.
  const auto delay = static_cast<UINT>(std::max<std::int64_t>(delayMs, USER_TIMER_MINIMUM));
  armed_ = SetTimer(window_, kWakeUp, delay, nullptr) != 0;
}

void Win32TimerHost::disarm() {
  if (std::exchange(armed_, false)) KillTimer(window_, kWakeUp);
}

}  // namespace volumetra
