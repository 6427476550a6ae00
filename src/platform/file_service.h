#pragma once

#include <string>

namespace volumetra {

/// Files and the process: program directory, current directory, and the appending of log lines.
class FileService {
 public:
  virtual ~FileService() = default;

  /// The directory that holds the program's settings and is made current at start, without a
  /// trailing separator.
  virtual std::string ProgramDirectory() = 0;
  /// The executable's file name without its extension ("volumetra").
  virtual std::string ExecutableBaseName() = 0;
  /// The platform's path separator: '/' on Linux, '\\' on Windows.
  virtual char PathSeparator() = 0;
  /// The directory that holds the executable, without a trailing separator. It differs from
  /// ProgramDirectory where the program keeps its settings elsewhere (a read-only or installed
  /// program), and a settings file prepared beside the executable is then read from here.
  virtual std::string ExecutableDirectory() { return ProgramDirectory(); }

  virtual std::string CurrentDirectory() = 0;
  virtual bool SetCurrentDirectory(const std::string& path) = 0;

  /// True when `path` names an ordinary file (not a directory, not hidden or system on Windows).
  virtual bool IsOrdinaryFile(const std::string& path) = 0;

  /// Appends `line` (which carries its own line end) to the file at `path` in one write, creating
  /// the file when missing; nothing already in the file is ever changed. Returns false when the line
  /// could not be written whole, with a short reason in `error`; after a line that was cut short
  /// the next one starts on a line of its own.
  virtual bool AppendLine(const std::string& path, const std::string& line, std::string& error) = 0;

  /// True when a file at `path` can be put in place, new or replacing the one there: its directory
  /// exists and takes new files. Otherwise false with a short reason in `reason`. Asks without
  /// leaving anything behind; a backend that cannot tell answers true.
  virtual bool CanReplaceFile(const std::string& /*path*/, std::string& /*reason*/) { return true; }
};

}  // namespace volumetra
