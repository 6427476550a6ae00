// The Windows installer test's eyes, run under Wine: finds the program's main window and tells
// which program file shows it, or closes it through its close box and waits for the program to end.
//   volumetra_window_check.exe shown SECONDS   waits for the main window; prints its program file
//   volumetra_window_check.exe close SECONDS   closes it; exit 0 when the program ended with 0
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/program_process.h"
#include "platform/win32/wide_text.h"

namespace {

using namespace volumetra;

/// The first main window shown within `limit`, or null.
HWND FindMainWindow(std::chrono::seconds limit) {
  HWND main = nullptr;
  Eventually(
      [&main] {
        const std::vector<HWND> windows = MainWindows();
        main = windows.empty() ? nullptr : windows.front();
        return main != nullptr;
      },
      limit);
  return main;
}

std::string ProgramFileOf(HANDLE process) {
  wchar_t path[MAX_PATH * 4];
  DWORD length = MAX_PATH * 4;
  return QueryFullProcessImageNameW(process, 0, path, &length) ? Utf8(std::wstring_view(path, length))
                                                               : std::string("(unknown)");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: volumetra_window_check.exe shown|close SECONDS\n");
    return 2;
  }
  const std::string action = argv[1];
  const std::chrono::seconds limit(std::atoi(argv[2]));
  const HWND main = FindMainWindow(limit);
  if (!main) {
    std::printf("no main window within %lld s\n", static_cast<long long>(limit.count()));
    return 1;
  }
  DWORD id = 0;
  GetWindowThreadProcessId(main, &id);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) {
    std::printf("cannot open the process of the main window\n");
    return 1;
  }
  int status = 0;
  if (action == "shown") {
    std::printf("main window shown by %s%s\n", ProgramFileOf(process).c_str(),
                IsIconic(main) ? " (minimised)" : "");
  } else {
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    const bool ended =
        WaitForSingleObject(process, static_cast<DWORD>(limit.count() * 1000)) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process, &code);
    if (ended) {
      std::printf("closed: the program ended with %lu\n", code);
    } else {
      std::printf("closed, but the program did not end within %lld s\n",
                  static_cast<long long>(limit.count()));
    }
    status = ended && code == 0 ? 0 : 1;
  }
  CloseHandle(process);
  return status;
}
