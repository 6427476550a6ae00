#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/file_service.h"
#include "platform/later_start.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

/// The key of one settings file among the copies of the program: a hash of the place of the
/// settings file (the program directory and the executable's base name), the same for every
/// spelling of that place (letter case, short names, links), as 16 hex digits.
std::wstring RunningCopyKey(const std::string& programDirectory, const std::string& executableBaseName);

/// One running copy of the program per settings file, so that two copies never write the same
/// settings and log over each other. The first start holds a mutex of the session named after the
/// key for as long as its process lives (Windows gives it up when the process ends in whatever
/// way), and, once its main window is up, a message-only window whose class name carries the key.
/// A later start finds that window, lets the running copy take the foreground, asks it to raise
/// its main window and ends. Copies of other settings files (another folder) run side by side.
class RunningCopy {
 public:
  /// For the settings file of `files`' program: tries once to take the mutex.
  explicit RunningCopy(FileService& files);
  ~RunningCopy();
  RunningCopy(const RunningCopy&) = delete;
  RunningCopy& operator=(const RunningCopy&) = delete;

  /// True when another process is the running copy; false when this one is, or when the mutex
  /// could not be made at all (this process then runs without being found).
  bool heldElsewhere() const { return mutex_ != nullptr && !held_; }

  /// Asks the running copy to raise its main window until it has, or until it has ended and this
  /// start took the mutex, for at most `patience`. A copy that is still starting up or busy for a
  /// moment is asked again.
  LaterStart AskToRaise(std::chrono::milliseconds patience);

  /// For the running copy: lets later starts find it from now on. `raise` runs in the message
  /// loop and tells whether it raised the main window. False when nothing can find this copy.
  bool Listen(std::function<bool()> raise);

 private:
  static LRESULT CALLBACK EarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool tryLock();

  std::wstring earClass_;
  HANDLE mutex_ = nullptr;
  bool held_ = false;
  HWND ear_ = nullptr;
  std::function<bool()> raise_;
};

}  // namespace volumetra
