#pragma once

#include <memory>
#include <string>

#include "app/program.h"
#include "platform/ini_profile.h"
#include "platform/linux/fake_system_calls.h"
#include "platform/linux/linux_volumes.h"
#include "platform/linux/scratch_mounts.h"
#include "support/headless/fake_clock.h"
#include "support/headless/fake_files.h"
#include "support/headless/headless_windows.h"
#include "support/headless/recording_notifications.h"
#include "support/headless/virtual_event_loop.h"
#include "support/machine/temp_dir.h"

namespace volumetra {

/// The whole program over the Linux volume services, headless: virtual event loop and clock,
/// settings and log in a scratch directory, no windows. `program` is built but not started.
struct LinuxProgram {
  LinuxProgram(std::shared_ptr<LinuxSystemCalls> system, LinuxVolumesOptions options);

  /// Writes the settings file the program reads at start.
  void WriteSettings(const std::string& text) const;
  Program& Start();
  void Advance(std::int64_t milliseconds) { loop.advance(milliseconds); }
  /// The row of drive `letter` in the table, or -1.
  int RowOf(char letter) const;

  TempDir dir;
  VirtualEventLoop loop;
  LinuxVolumes volumes;
  FakeFiles files{dir.str()};
  IniProfile profile;
  FakeClock clock{loop, LocalDateTime{2026, 12, 8, 10, 0, 0}};
  CountingBeep beep;
  RecordingNotifications notifications;
  HeadlessWindows windows;
  Services services{volumes, files, profile, clock, beep, notifications, loop, windows, "Linux"};
  std::unique_ptr<Program> program = std::make_unique<Program>(services);
};

/// Runs the fake machine's virtual steady clock on the loop's virtual time: waiting for a call
/// spends loop time, as a real wait holds up the event loop.
void TieToLoop(FakeSystemCalls& system, VirtualEventLoop& loop);

}  // namespace volumetra
