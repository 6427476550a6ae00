#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/program.h"
#include "platform/ini_profile.h"
#include "support/headless/fake_clock.h"
#include "support/headless/fake_files.h"
#include "support/headless/fake_volumes.h"
#include "support/headless/headless_windows.h"
#include "support/headless/recording_notifications.h"
#include "support/headless/virtual_event_loop.h"
#include "support/machine/temp_dir.h"

namespace volumetra {

/// A whole fake computer for logic tests: scripted volumes, a virtual clock and event loop,
/// files in a temporary program directory, a counting beep and no windows. `program` is built
/// over it but not started.
struct FakeMachine {
  /// `maxLateMs`: how late a tick may come to share a wake-up of the loop (0: exactly when due).
  explicit FakeMachine(std::int64_t maxLateMs = 0);

  /// Starts the program (the main window loads and shows).
  Program& start();
  /// Lets `milliseconds` of virtual time pass, running every timer tick that falls due.
  void advance(std::int64_t milliseconds) { loop.advance(milliseconds); }
  /// The settings file the program reads and writes.
  std::string iniPath() const;
  /// Reads a whole file into a string (empty when missing).
  static std::string read(const std::filesystem::path& path);
  /// `text`, written with "\n", as a file the program creates holds it: with the platform's line
  /// ends.
  static std::string asNewFile(std::string text);

  TempDir dir;
  VirtualEventLoop loop;
  FakeVolumes volumes{loop};
  FakeFiles files{dir.str()};
  IniProfile profile;
  FakeClock clock{loop, LocalDateTime{2026, 12, 8, 10, 0, 0}};
  CountingBeep beep;
  RecordingNotifications notifications;
  HeadlessWindows windows;
  Services services{volumes, files, profile, clock, beep, notifications, loop, windows, "Headless"};
  std::unique_ptr<Program> program = std::make_unique<Program>(services);
};

}  // namespace volumetra
