#pragma once

#include <string_view>

#include "platform/beep_service.h"
#include "platform/clock_service.h"
#include "platform/file_service.h"
#include "platform/notification_service.h"
#include "platform/profile_service.h"
#include "platform/timer.h"
#include "platform/volume_service.h"
#include "platform/window_system.h"

namespace volumetra {

/// The operating-system services the program runs on, chosen by main() or by a test.
struct Services {
  VolumeService& volumes;
  FileService& files;
  ProfileService& profile;
  ClockService& clock;
  BeepService& beep;
  NotificationService& notifications;
  TimerHost& timers;
  WindowSystem& windows;
  /// The platform the program runs on, as the about box names it ("Linux", "Windows").
  std::string_view platformName;
};

}  // namespace volumetra
