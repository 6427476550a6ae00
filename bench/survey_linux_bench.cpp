// One survey (probe pass + report cycle) against this machine's drives through the Linux
// backend, next to the bare system calls a survey needs (per drive two statvfs and two reads of
// the local time, once the date and time for the status line), so the overhead of our layers
// shows as a ratio. Windows are headless: the model is measured, not the painting.
#include <benchmark/benchmark.h>
#include <sys/statvfs.h>

#include <ctime>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/program.h"
#include "platform/ini_profile.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_volumes.h"
#include "support/headless/fake_files.h"
#include "support/headless/headless_windows.h"
#include "support/headless/recording_notifications.h"
#include "support/headless/virtual_event_loop.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

struct LinuxMachine {
  LinuxMachine() {
    program.Start();
    program.form1().Timer1_Timer();
    for (char letter : program.m.DriveLetters) mountPoints.push_back(volumes.MountPointOf(letter));
  }
  TempDir dir;
  VirtualEventLoop loop;
  LinuxVolumes volumes{MakeLinuxSystemCalls(), {.letterFile = ""}};
  FakeFiles files{dir.str()};
  IniProfile profile;
  LinuxClock clock;
  CountingBeep beep;
  RecordingNotifications notifications;
  HeadlessWindows windows;
  Services services{volumes, files, profile, clock, beep, notifications, loop, windows, "Linux"};
  Program program{services};
  std::vector<std::string> mountPoints;
};

void BM_SurveyLinux(benchmark::State& state) {
  LinuxMachine machine;
  Form1& f = machine.program.form1();
  for (auto _ : state) f.Timer1_Timer();
  state.counters["drives"] = static_cast<double>(machine.mountPoints.size());
}
BENCHMARK(BM_SurveyLinux);

void BM_BareSurveySyscallsLinux(benchmark::State& state) {
  LinuxMachine machine;
  for (auto _ : state) {
    for (const std::string& mountPoint : machine.mountPoints) {
      struct statvfs answer {};
      std::tm local{};
      const std::time_t now = std::time(nullptr);
      ::localtime_r(&now, &local);
      benchmark::DoNotOptimize(::statvfs(mountPoint.c_str(), &answer));
      ::localtime_r(&now, &local);
      benchmark::DoNotOptimize(::statvfs(mountPoint.c_str(), &answer));
    }
    char text[64];
    std::tm local{};
    const std::time_t now = std::time(nullptr);
    ::localtime_r(&now, &local);
    benchmark::DoNotOptimize(std::strftime(text, sizeof text, "%x %X", &local));
  }
  state.counters["drives"] = static_cast<double>(machine.mountPoints.size());
}
BENCHMARK(BM_BareSurveySyscallsLinux);

}  // namespace
}  // namespace volumetra

BENCHMARK_MAIN();
