#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

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

/// What a test machine sets besides its volumes and windows.
struct MachineSetup {
  /// The platform the about box names.
  std::string_view platform = "Headless";
  /// How late a tick may come to share a wake-up of the loop (0: exactly when due).
  std::int64_t maxLateMs = 0;
  /// The program's files, where not the fake ones in the temporary directory.
  FileService* files = nullptr;
  /// Where the program's notifications go, where not to the recording ones.
  NotificationService* notifications = nullptr;
  /// The program's timers, where not those of the virtual event loop.
  TimerHost* timers = nullptr;
};

/// The service a test chose, or else the machine's own.
template <typename Service>
Service& Chosen(Service* chosen, std::type_identity_t<Service>& own) {
  return chosen ? *chosen : own;
}

/// What the program has around it on every test machine: a temporary program directory with the
/// fake files, a virtual event loop and clock, the settings, a counting beep and the notifications
/// it sends.
class MachineBase {
 public:
  explicit MachineBase(std::int64_t maxLateMs) : loop(maxLateMs) {}

  /// Lets `milliseconds` of virtual time pass, running every timer tick that falls due.
  void advance(std::int64_t milliseconds) { loop.advance(milliseconds); }
  /// The settings file the program reads and writes.
  std::string iniPath() const;
  /// Writes the settings file the program reads at start.
  void writeSettings(const std::string& text) const;
  /// Reads a whole file into a string (empty when missing).
  static std::string read(const std::filesystem::path& path);
  /// `text`, written with "\n", as a file the program creates holds it: with the platform's line
  /// ends.
  static std::string asNewFile(std::string text);

  TempDir dir;
  VirtualEventLoop loop;
  FakeFiles files{dir.str()};
  IniProfile profile;
  FakeClock clock{loop, LocalDateTime{2026, 12, 8, 10, 0, 0}};
  CountingBeep beep;
  RecordingNotifications notifications;
};

/// The whole program on a test machine: its volumes made by `makeVolumes(loop)`, its window system
/// from `windowArguments`. `program` is built over them but not started.
template <typename Volumes, typename Windows = HeadlessWindows>
class TestMachine : public MachineBase {
 public:
  template <typename MakeVolumes, typename... WindowArguments>
  TestMachine(const MachineSetup& setup, MakeVolumes&& makeVolumes, WindowArguments&&... windowArguments)
      : MachineBase(setup.maxLateMs),
        volumes(std::forward<MakeVolumes>(makeVolumes)(loop)),
        windows(std::forward<WindowArguments>(windowArguments)...),
        services{volumes,
                 Chosen(setup.files, files),
                 profile,
                 clock,
                 beep,
                 Chosen(setup.notifications, notifications),
                 Chosen(setup.timers, loop),
                 windows,
                 setup.platform} {}

  /// Starts the program (the main window loads and shows).
  Program& start() {
    program->Start();
    return *program;
  }
  /// The row of drive `letter` in the table, or -1.
  int rowOf(char letter) const {
    const std::size_t at = program->m.DriveLetters.find(letter);
    return at == std::string::npos ? -1 : static_cast<int>(at);
  }

  Volumes volumes;
  Windows windows;
  Services services;
  std::unique_ptr<Program> program = std::make_unique<Program>(services);
};

/// Scripted volumes whose calls take the loop's virtual time.
inline FakeVolumes ScriptedVolumes(VirtualEventLoop& loop) {
  return FakeVolumes{loop};
}

}  // namespace volumetra
