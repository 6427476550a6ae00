#include "platform/win32/running_copy.h"

#include <algorithm>
#include <cstdint>

#include "platform/win32/wide_text.h"

namespace volumetra {
namespace {

/// The request a later start sends to the running copy's message-only window, and the answer
/// once the main window is up front. The window class is the program's own, so a message of the
/// application range means nothing else to it.
constexpr UINT kRaiseRequest = WM_APP;
constexpr LRESULT kRaised = 1;
/// How long a later start waits before it looks for a copy that is not listening yet again.
constexpr std::chrono::milliseconds kRetryPause{50};

/// The directory's path as the file system knows it: one spelling for a folder however it was
/// reached (letter case, 8.3 names, junctions, substituted drives). As given when it cannot be
/// opened.
std::wstring FinalDirectoryPath(const std::wstring& directory) {
  HANDLE handle = CreateFileW((directory + L"\\").c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return directory;
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length >= path.size()) {
    path.resize(length);
    length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  }
  CloseHandle(handle);
  if (length == 0 || length >= path.size()) return directory;
  path.resize(length);
  return path;
}

/// 64-bit FNV-1a over the UTF-16 code units, as 16 hex digits.
std::wstring HexHash(const std::wstring& text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const wchar_t unit : text) {
    for (const int shift : {0, 8}) {
      hash ^= (static_cast<std::uint16_t>(unit) >> shift) & 0xFFu;
      hash *= 1099511628211ull;
    }
  }
  std::wstring hex(16, L'0');
  for (auto digit = hex.rbegin(); digit != hex.rend(); ++digit, hash >>= 4)
    *digit = L"0123456789abcdef"[hash & 0xFu];
  return hex;
}

}  // namespace

std::wstring RunningCopyKey(const std::string& programDirectory, const std::string& executableBaseName) {
  std::wstring place = FinalDirectoryPath(Wide(programDirectory)) + L"\\" + Wide(executableBaseName);
  // Windows' file names are compared without regard to letter case.
  CharUpperBuffW(place.data(), static_cast<DWORD>(place.size()));
  return HexHash(place);
}

RunningCopy::RunningCopy(FileService& files) {
  const std::wstring key = RunningCopyKey(files.ProgramDirectory(), files.ExecutableBaseName());
  earClass_ = L"Volumetra.RunningCopy." + key;
  mutex_ = CreateMutexW(nullptr, FALSE, (L"Local\\Volumetra." + key).c_str());
  tryLock();
}

RunningCopy::~RunningCopy() {
  if (ear_) {
    DestroyWindow(ear_);
    UnregisterClassW(earClass_.c_str(), GetModuleHandleW(nullptr));
  }
  if (held_) ReleaseMutex(mutex_);
  if (mutex_) CloseHandle(mutex_);
}

bool RunningCopy::tryLock() {
  if (!mutex_ || held_) return held_;
  // An abandoned mutex is one whose copy ended without letting go: it is this start's now.
  const DWORD result = WaitForSingleObject(mutex_, 0);
  held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  return held_;
}

LaterStart RunningCopy::AskToRaise(std::chrono::milliseconds patience) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + patience;
  const auto remaining = [deadline] {
    return std::max<std::chrono::milliseconds::rep>(
        std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count(), 0);
  };
  for (;;) {
    if (HWND ear = FindWindowExW(HWND_MESSAGE, nullptr, earClass_.c_str(), nullptr)) {
      // This start was just launched by the user and may take the foreground; it hands that
      // right on, so that the running copy's window comes up front rather than only flashing.
      DWORD process = 0;
      GetWindowThreadProcessId(ear, &process);
      AllowSetForegroundWindow(process);
      DWORD_PTR answer = 0;
      if (SendMessageTimeoutW(ear, kRaiseRequest, 0, 0, SMTO_NORMAL, static_cast<UINT>(remaining()),
                              &answer) &&
          answer == static_cast<DWORD_PTR>(kRaised))
        return LaterStart::Raised;
    }
    // Not listening yet, busy, or ending: ask again, unless it has ended for good.
    if (tryLock()) return LaterStart::LockTaken;
    if (remaining() == 0) return LaterStart::Unanswered;
    Sleep(static_cast<DWORD>(std::min<std::chrono::milliseconds::rep>(kRetryPause.count(), remaining())));
  }
}

bool RunningCopy::Listen(std::function<bool()> raise) {
  if (!held_) return false;
  raise_ = std::move(raise);
  if (ear_) return true;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = EarProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = earClass_.c_str();
  if (!RegisterClassExW(&windowClass)) return false;
  ear_ = CreateWindowExW(0, earClass_.c_str(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
  if (!ear_) UnregisterClassW(earClass_.c_str(), instance);
  return ear_ != nullptr;
}

LRESULT CALLBACK RunningCopy::EarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == kRaiseRequest) {
    auto* copy = reinterpret_cast<RunningCopy*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return copy && copy->raise_ && copy->raise_() ? kRaised : 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace volumetra
