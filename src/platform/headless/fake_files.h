#pragma once

#include <set>
#include <string>

#include "platform/file_service.h"

namespace volumetra {

/// Files and process for tests: the program and current directories are plain texts (the real
/// process's directory is never changed), files are real files, usually in a test's temporary
/// directory. Appends to paths in `failingPaths` fail as a full disk would.
class FakeFiles : public FileService {
 public:
  explicit FakeFiles(std::string programDirectory)
      : programDirectory_(programDirectory), current_(programDirectory) {}

  std::string ProgramDirectory() override { return programDirectory_; }
  std::string ExecutableBaseName() override { return baseName; }
  char PathSeparator() override { return '/'; }
  std::string CurrentDirectory() override { return current_; }
  bool SetCurrentDirectory(const std::string& path) override;
  bool IsOrdinaryFile(const std::string& path) override;
  bool AppendLine(const std::string& path, const std::string& line, std::string& error) override;

  std::string baseName = "volumetra";
  std::set<std::string> failingPaths;
  int appendCalls = 0;

 private:
  std::string programDirectory_;
  std::string current_;
};

}  // namespace volumetra
