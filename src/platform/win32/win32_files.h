#pragma once

#include <optional>
#include <string>

#include "platform/file_service.h"
#include "platform/win32/system_error_text.h"

namespace volumetra {

/// Files and the process on Windows; paths use "\". The program directory is the executable's
/// own when it takes new files (a portable copy), else "Volumetra" in the user's roaming
/// application-data folder, created when missing (a copy in Program Files); a settings file beside
/// the executable then serves as the defaults until the first save.
class Win32Files : public FileService {
 public:
  /// For the running executable (GetModuleFileNameW) and the user's roaming application-data
  /// folder (%APPDATA%).
  Win32Files();
  /// As if the executable were at `executablePath`, and the roaming application-data folder at
  /// `roamingDirectory` (when empty, the user's own).
  explicit Win32Files(std::string executablePath, std::string roamingDirectory = {});

  std::string ProgramDirectory() override;
  std::string ExecutableBaseName() override;
  char PathSeparator() override { return '\\'; }
  std::string ExecutableDirectory() override;
  std::string CurrentDirectory() override;
  /// SetCurrentDirectoryW: the current drive and its directory in one step.
  bool SetCurrentDirectory(const std::string& path) override;
  /// GetFileAttributesW: an existing file that is neither a directory nor hidden nor system.
  bool IsOrdinaryFile(const std::string& path) override;
  /// One WriteFile of the whole line to a file opened for appending only, so that the line lands
  /// after whatever another writer appended; a short write is cut back off the file.
  bool AppendLine(const std::string& path, const std::string& line, std::string& error) override;
  /// Tries what a save does, since the file's attributes and the access lists decide: an existing
  /// file (or the file a link at `path` names) must be an ordinary file that is not read-only and
  /// may be read and deleted; its directory must take a new file, which is created with
  /// FILE_FLAG_DELETE_ON_CLOSE and so leaves nothing behind.
  bool CanReplaceFile(const std::string& path, std::string& reason) override;

 private:
  std::string executablePath_;
  std::string roamingDirectory_;
  std::optional<std::string> programDirectory_;
};

}  // namespace volumetra
