#pragma once

#include <set>

#include "platform/notification_service.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

/// Desktop notifications as balloons of the shell's notification area (Shell_NotifyIconW with
/// NIF_INFO): one icon per tag, there only while its balloon is up. shell32 is loaded with the
/// first notification, so that a run that never shows one never loads it.
class Win32Notifications : public NotificationService {
 public:
  Win32Notifications() = default;
  ~Win32Notifications() override;
  Win32Notifications(const Win32Notifications&) = delete;
  Win32Notifications& operator=(const Win32Notifications&) = delete;

  void Notify(const Notification& notification) override;

  /// The hidden window that receives the notification area's messages; null before the first
  /// notification.
  HWND window() const { return window_; }

 private:
  using NotifyIconCall = BOOL(WINAPI*)(DWORD, void*);

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  /// Loads shell32 and makes the window, once; false when either failed.
  bool Ready();
  void Remove(UINT id);

  HMODULE shell_ = nullptr;
  NotifyIconCall notifyIcon_ = nullptr;
  HWND window_ = nullptr;
  /// The ids of the icons now in the notification area.
  std::set<UINT> icons_;
};

}  // namespace volumetra
