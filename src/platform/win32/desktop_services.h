#pragma once

#include "platform/ini_profile.h"
#include "platform/services.h"
#include "platform/win32/win32_beep.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_notifications.h"
#include "platform/win32/win32_timer_host.h"
#include "platform/win32/win32_volumes.h"
#include "platform/win32/win32_window_system.h"

namespace volumetra {

/// The services of the desktop program on Windows: the Win32 volume, file, clock and beep calls,
/// balloons of the notification area, the INI profile shared with Linux, Windows timers and the
/// windows on the system's controls.
struct DesktopServices {
  Win32Volumes volumes;
  Win32Files files;
  IniProfile profile;
  Win32Clock clock;
  Win32Beep beep;
  Win32Notifications notifications;
  Win32TimerHost timers;
  Win32WindowSystem windows;
  Services services{volumes, files, profile, clock, beep, notifications, timers, windows, "Windows"};
};

}  // namespace volumetra
