#include "platform/linux/linux_program.h"

namespace volumetra {

LinuxProgram::LinuxProgram(std::shared_ptr<LinuxSystemCalls> system, LinuxVolumesOptions options)
    : TestMachine({.platform = "Linux"},
                  [&](VirtualEventLoop&) { return LinuxVolumes(std::move(system), std::move(options)); }) {}

void TieToLoop(FakeSystemCalls& system, VirtualEventLoop& loop) {
  system.now = [&loop] { return FakeSystemCalls::TimePoint{} + std::chrono::milliseconds(loop.now()); };
  system.spend = [&loop](std::chrono::nanoseconds time) {
    loop.spend(std::chrono::ceil<std::chrono::milliseconds>(time).count());
  };
}

}  // namespace volumetra
