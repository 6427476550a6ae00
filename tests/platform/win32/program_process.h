#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace volumetra {

/// True once `condition` holds, asked again every 20 ms for at most `limit`.
bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit);

/// The visible main windows of the running copies of the program, of `process` only when given.
std::vector<HWND> MainWindows(DWORD process = 0);

/// The real program, started as the user starts it: volumetra.exe at `exePath` in its own
/// directory. A process still running at the end of the test is ended.
class ProgramProcess {
 public:
  explicit ProgramProcess(const std::string& exePath);
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  /// Its main window, once shown within `limit`; null otherwise.
  HWND MainWindow(std::chrono::seconds limit);
  /// Its exit code once it has ended within `limit`; nothing while it runs.
  std::optional<DWORD> WaitForExit(std::chrono::seconds limit);
  /// Closes the main window by its close box, as the user does, and waits for the end.
  std::optional<DWORD> Close(std::chrono::seconds limit);
  /// Ends it at once, as a crash would, leaving it no time to let go of anything.
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace volumetra
