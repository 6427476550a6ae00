#include "support/fake_machine.h"

#include <fstream>
#include <sstream>

#include "platform/ini_file_access.h"

namespace volumetra {

FakeMachine::FakeMachine(std::int64_t maxLateMs) : loop(maxLateMs) {}

Program& FakeMachine::start() {
  program->Start();
  return *program;
}

std::string FakeMachine::iniPath() const {
  return dir.str() + "/volumetra.ini";
}

std::string FakeMachine::read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string FakeMachine::asNewFile(std::string text) {
  const std::string lineEnd = ini_file::kNewFileLineEnd;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + lineEnd.size()))
    text.replace(at, 1, lineEnd);
  return text;
}

}  // namespace volumetra
