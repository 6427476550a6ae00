#include "platform/win32/program_process.h"

#include <thread>

#include "app/form1_design.h"
#include "platform/win32/wide_text.h"

namespace volumetra {

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

std::vector<HWND> MainWindows(DWORD process) {
  struct Search {
    DWORD process;
    std::wstring caption;
    std::vector<HWND> found;
  } search{process, Wide(Form1Design().caption), {}};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t caption[64] = {};
        GetWindowTextW(window, caption, 64);
        if ((s.process == 0 || owner == s.process) && IsWindowVisible(window) && caption == s.caption)
          s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

ProgramProcess::ProgramProcess(const std::string& exePath) {
  std::wstring path = Wide(exePath);
  const std::wstring directory = path.substr(0, path.find_last_of(L'\\'));
  std::wstring command = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                      &startup, &info))
    return;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
}

ProgramProcess::~ProgramProcess() {
  if (!process_) return;
  Kill();
  CloseHandle(process_);
}

HWND ProgramProcess::MainWindow(std::chrono::seconds limit) {
  HWND main = nullptr;
  Eventually(
      [&] {
        const std::vector<HWND> windows = MainWindows(id_);
        main = windows.empty() ? nullptr : windows.front();
        return main != nullptr || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
      },
      limit);
  return main;
}

std::optional<DWORD> ProgramProcess::WaitForExit(std::chrono::seconds limit) {
  if (!process_ ||
      WaitForSingleObject(process_, static_cast<DWORD>(std::chrono::milliseconds(limit).count())) !=
          WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

std::optional<DWORD> ProgramProcess::Close(std::chrono::seconds limit) {
  for (HWND main : MainWindows(id_)) PostMessageW(main, WM_CLOSE, 0, 0);
  return WaitForExit(limit);
}

void ProgramProcess::Kill() {
  if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, INFINITE);
  }
}

}  // namespace volumetra
