#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/file_service.h"

namespace volumetra {

/// Files and process for tests: the program and current directories are plain texts (the real
/// process's directory is never changed), files are real files, usually in a test's temporary
/// directory. Paths are separated by `separator`. Appends to paths in `failingPaths` fail as a full disk
/// would. The executable lies in `executableDirectory` when that is set, else in the program directory; a
/// file in `unreplaceable` cannot be put in place, for the reason given there.
class FakeFiles : public FileService {
 public:
  explicit FakeFiles(std::string programDirectory)
      : programDirectory_(programDirectory), current_(programDirectory) {}

  std::string ProgramDirectory() override { return programDirectory_; }
  std::string ExecutableBaseName() override { return baseName; }
  char PathSeparator() override { return separator; }
  std::string ExecutableDirectory() override;
  std::string CurrentDirectory() override { return current_; }
  bool SetCurrentDirectory(const std::string& path) override;
  bool IsOrdinaryFile(const std::string& path) override;
  bool AppendLine(const std::string& path, const std::string& line, std::string& error) override;
  bool CanReplaceFile(const std::string& path, std::string& reason) override;

  std::string baseName = "volumetra";
  char separator = '/';
  std::string executableDirectory;
  std::set<std::string> failingPaths;
  std::map<std::string, std::string> unreplaceable;
  int appendCalls = 0;

 private:
  std::string programDirectory_;
  std::string current_;
};

}  // namespace volumetra
