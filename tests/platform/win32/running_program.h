#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/program_process.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

/// The real volumetra.exe of this build, started by a test in a directory of its own, as a user
/// starts it: the test then finds its windows and reads what they show.
class RunningProgram {
 public:
  /// Copies the program into `dir` (a Windows path), where it keeps its settings file.
  static bool CopyTo(const std::string& dir);

  /// Starts the copy in `dir`; started() tells whether it did.
  explicit RunningProgram(const std::string& dir);
  /// Ends it by force if it still runs.
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return process_ != nullptr; }
  /// Its main window, once it shows within `limit`; nullptr when it does not.
  HWND WaitForMainWindow(std::chrono::milliseconds limit);
  /// Its exit code once the process ends within `limit`; nullopt while it still runs.
  std::optional<DWORD> WaitForEnd(std::chrono::milliseconds limit);

 private:
  HANDLE process_ = nullptr;
};

/// The window id of element `index` of the control array `name` of the main window.
int ControlId(const char* name, int index);
/// The text of element `index` of the control array `name` of the main window `main`.
std::string ControlText(HWND main, const char* name, int index);
/// The letters ("C:") of the drive rows the main window shows now, as its height tells their number.
std::vector<std::string> ShownRows(HWND main);

}  // namespace volumetra
