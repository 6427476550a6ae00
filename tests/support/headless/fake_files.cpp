#include "support/headless/fake_files.h"

#include <filesystem>
#include <fstream>

namespace volumetra {

std::string FakeFiles::ExecutableDirectory() {
  return executableDirectory.empty() ? programDirectory_ : executableDirectory;
}

bool FakeFiles::SetCurrentDirectory(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_directory(path, ec)) return false;
  current_ = path;
  return true;
}

bool FakeFiles::IsOrdinaryFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool FakeFiles::AppendLine(const std::string& path, const std::string& line, std::string& error) {
  ++appendCalls;
  if (failingPaths.contains(path)) {
    error = "No space left on device";
    return false;
  }
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) {
    error = "cannot open";
    return false;
  }
  out << line;
  out.flush();
  if (!out) {
    error = "cannot write";
    return false;
  }
  return true;
}

bool FakeFiles::CanReplaceFile(const std::string& path, std::string& reason) {
  const auto refused = unreplaceable.find(path);
  if (refused == unreplaceable.end()) return true;
  reason = refused->second;
  return false;
}

}  // namespace volumetra
