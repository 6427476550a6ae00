#include "platform/linux/linux_program.h"

#include <fstream>

namespace volumetra {

LinuxProgram::LinuxProgram(std::shared_ptr<LinuxSystemCalls> system, LinuxVolumesOptions options)
    : volumes(std::move(system), std::move(options)) {}

void LinuxProgram::WriteSettings(const std::string& text) const {
  std::ofstream(dir.path() / "volumetra.ini") << text;
}

Program& LinuxProgram::Start() {
  program->Start();
  return *program;
}

int LinuxProgram::RowOf(char letter) const {
  const std::string& letters = program->m.DriveLetters;
  const std::size_t at = letters.find(letter);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

void TieToLoop(FakeSystemCalls& system, VirtualEventLoop& loop) {
  system.now = [&loop] { return FakeSystemCalls::TimePoint{} + std::chrono::milliseconds(loop.now()); };
  system.spend = [&loop](std::chrono::nanoseconds time) {
    loop.spend(std::chrono::ceil<std::chrono::milliseconds>(time).count());
  };
}

}  // namespace volumetra
