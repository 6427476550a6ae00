#include "support/fake_machine.h"

#include <fstream>
#include <random>
#include <sstream>

#include "platform/ini_file_access.h"

namespace volumetra {

// A name no other process can guess, taken only when no directory has it yet (as mkdtemp does, on
// both systems): a test never works in a directory it did not make.
TempDir::TempDir() {
  static std::mt19937_64 random{std::random_device{}()};
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (;;) {
    std::ostringstream name;
    name << "volumetra-test-" << std::hex << random();
    path_ = base / name.str();
    if (std::filesystem::create_directory(path_)) return;
  }
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
