#pragma once

#include "platform/ini_profile.h"
#include "platform/linux/desktop_entry.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_volumes.h"
#include "platform/qt/dbus_notifications.h"
#include "platform/qt/qt_beep.h"
#include "platform/qt/qt_timer_host.h"
#include "platform/qt/qt_window_system.h"
#include "platform/services.h"

namespace volumetra {

/// The services of the desktop program on Linux: the Linux volume, file and clock services, the
/// INI profile, and the Qt windows, timers and beep, and the desktop's notifications on the
/// session bus. Needs a QApplication before it is made.
struct DesktopServices {
  LinuxVolumes volumes;
  LinuxFiles files;
  IniProfile profile;
  LinuxClock clock;
  QtBeep beep;
  DbusNotifications notifications{kWindowClass, kDesktopId};
  QtTimerHost timers;
  QtWindowSystem windows;
  Services services{volumes, files, profile, clock, beep, notifications, timers, windows, "Linux"};
};

}  // namespace volumetra
