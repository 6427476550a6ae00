#pragma once

#include <string>

#include "platform/file_service.h"

namespace volumetra {

/// Files and the process on Windows: the program directory is the executable's own, as the
/// settings file lies beside the executable; paths use "\".
class Win32Files : public FileService {
 public:
  /// For the running executable (GetModuleFileNameA).
  Win32Files();
  /// As if the executable were at `executablePath`.
  explicit Win32Files(std::string executablePath);

  std::string ProgramDirectory() override;
  std::string ExecutableBaseName() override;
  char PathSeparator() override { return '\\'; }
  std::string CurrentDirectory() override;
  /// SetCurrentDirectoryA: the current drive and its directory in one step.
  bool SetCurrentDirectory(const std::string& path) override;
  /// GetFileAttributesA: an existing file that is neither a directory nor hidden nor system.
  bool IsOrdinaryFile(const std::string& path) override;
  /// One WriteFile of the whole line to a file opened for appending only, so that the line lands
  /// after whatever another writer appended; a short write is cut back off the file.
  bool AppendLine(const std::string& path, const std::string& line, std::string& error) override;

 private:
  std::string executablePath_;
};

/// The system's text for a GetLastError() code, without its final full stop and line end.
std::string SystemErrorText(unsigned long error);

}  // namespace volumetra
