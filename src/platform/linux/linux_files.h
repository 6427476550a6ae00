#pragma once

#include <optional>
#include <set>
#include <string>

#include "platform/file_service.h"

namespace volumetra {

/// Files and the process on Linux. The program directory is the executable's directory when the
/// user may write there (portable use) and the program is no installed copy, otherwise
/// $XDG_CONFIG_HOME/volumetra (by default ~/.config/volumetra), created when missing. An installed
/// copy is one whose desktop entry lies in ../share/applications beside its directory: it keeps
/// nothing in a system directory such as /usr/bin, even for a user who may write there.
class LinuxFiles : public FileService {
 public:
  /// For the running executable (/proc/self/exe).
  LinuxFiles();
  /// As if the executable were at `executablePath`.
  explicit LinuxFiles(std::string executablePath);

  std::string ProgramDirectory() override;
  std::string ExecutableBaseName() override;
  char PathSeparator() override { return '/'; }
  std::string ExecutableDirectory() override;
  std::string CurrentDirectory() override;
  bool SetCurrentDirectory(const std::string& path) override;
  bool IsOrdinaryFile(const std::string& path) override;
  /// One write() of the whole line with O_APPEND, so lines of other programs appending to the
  /// same file never interleave with it. A short write (a full disk) leaves what landed, since
  /// cutting it off again could cut a line another program appended meanwhile; the next line to
  /// that file then starts with a line end of its own.
  bool AppendLine(const std::string& path, const std::string& line, std::string& error) override;
  /// Creates an unnamed file in the directory that the file (or the file a link at `path` names)
  /// lies in, which is what a save's temporary file needs, and closes it at once: nothing is left
  /// behind. An existing file that is no ordinary file or cannot be read is never replaced.
  bool CanReplaceFile(const std::string& path, std::string& reason) override;

 private:
  std::string executablePath_;
  /// Files whose last line from this program was cut short.
  std::set<std::string> unendedLines_;
  std::optional<std::string> programDirectory_;
};

}  // namespace volumetra
