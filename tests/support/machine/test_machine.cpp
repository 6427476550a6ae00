#include "support/machine/test_machine.h"

#include <fstream>
#include <sstream>

#include "platform/ini_file_access.h"

namespace volumetra {

std::string MachineBase::iniPath() const {
  return dir.str() + "/volumetra.ini";
}

void MachineBase::writeSettings(const std::string& text) const {
  std::ofstream(iniPath()) << text;
}

std::string MachineBase::read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string MachineBase::asNewFile(std::string text) {
  const std::string lineEnd = ini_file::kNewFileLineEnd;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + lineEnd.size()))
    text.replace(at, 1, lineEnd);
  return text;
}

}  // namespace volumetra
