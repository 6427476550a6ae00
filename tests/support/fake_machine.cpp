#include "support/fake_machine.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "platform/ini_file_access.h"

namespace volumetra {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("volumetra-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                               ec);
  std::filesystem::remove_all(path_, ec);
}

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
