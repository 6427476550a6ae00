#pragma once

#include <optional>
#include <string>

#include "platform/file_service.h"

namespace volumetra {

/// Files and the process on Linux. The program directory is the executable's directory when the
/// user may write there (portable use), otherwise $XDG_CONFIG_HOME/volumetra (by default
/// ~/.config/volumetra), created when missing.
class LinuxFiles : public FileService {
 public:
  /// For the running executable (/proc/self/exe).
  LinuxFiles();
  /// As if the executable were at `executablePath`.
  explicit LinuxFiles(std::string executablePath);

  std::string ProgramDirectory() override;
  std::string ExecutableBaseName() override;
  char PathSeparator() override { return '/'; }
  std::string CurrentDirectory() override;
  bool SetCurrentDirectory(const std::string& path) override;
  bool IsOrdinaryFile(const std::string& path) override;
  /// One write() of the whole line with O_APPEND; a short write is cut back off the file, so the
  /// line lands whole or not at all.
  bool AppendLine(const std::string& path, const std::string& line, std::string& error) override;

 private:
  std::string executablePath_;
  std::optional<std::string> programDirectory_;
};

}  // namespace volumetra
