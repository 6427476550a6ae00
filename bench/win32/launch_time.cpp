// Launch to first window of a Windows program: starts it, times with the performance counter how
// long until a visible top-level window of its process exists, then asks its windows to close and
// waits for the process to end. Each start runs a copy of the program in a fresh temporary directory, so
// whatever it writes beside itself or in its working directory (settings, log) is its first start's.
// A program may show another window before its main one, so each round also times how long until
// the program first waits for input (WaitForInputIdle) after that: its start-up is over.
// Usage: launch_time.exe ROUNDS PROGRAM [ARGUMENTS...]
// Prints per round "FIRST-WINDOW READY" in milliseconds, then "median MIN MAX" of the first windows.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 1;
constexpr DWORD kWindowTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 20000;
constexpr DWORD kClosePollMs = 200;

struct Search {
  DWORD process = 0;
  HWND window = nullptr;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window)) return TRUE;
  search->window = window;
  return FALSE;
}

BOOL CALLBACK CloseVisibleWindows(HWND window, LPARAM process) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(process) && IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

/// One argument of a command line as the C runtime splits it again: as it is when it holds no
/// space, tab or quote, else in quotes, with the backslashes before a quote doubled and the quote
/// escaped. (Quoting every argument would hand the program `"/statusbar"`, quotes and all.)
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L"\"";
}

/// A fresh empty directory under the temporary folder; removed again by RemoveWorkDirectory.
std::wstring MakeWorkDirectory(int round) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring directory = std::wstring(temp) + L"launch_time_" +
                                 std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(round);
  CreateDirectoryW(directory.c_str(), nullptr);
  return directory;
}

void RemoveWorkDirectory(const std::wstring& directory) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((directory + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW((directory + L"\\" + entry.cFileName).c_str());
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(directory.c_str());
}

struct Launch {
  double firstWindow = -1;  // seconds; negative when no window appeared
  double ready = -1;
};

/// One launch: the seconds to its first visible window and to its first wait for input.
Launch LaunchOnce(const std::wstring& original, const std::wstring& arguments, int round) {
  const std::wstring directory = MakeWorkDirectory(round);
  const std::wstring program = directory + L"\\" + original.substr(original.find_last_of(L"\\/") + 1);
  if (!CopyFileW(original.c_str(), program.c_str(), FALSE)) {
    std::fprintf(stderr, "cannot copy the program (error %lu)\n", GetLastError());
    RemoveWorkDirectory(directory);
    return {};
  }
  std::wstring line = Quoted(program) + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
    RemoveWorkDirectory(directory);
    return {};
  }
  Search search{process.dwProcessId, nullptr};
  Launch launch;
  for (;;) {
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    if (search.window) {
      launch.firstWindow = Seconds(start, now, frequency);
      WaitForInputIdle(process.hProcess, kWindowTimeoutMs);
      QueryPerformanceCounter(&now);
      launch.ready = Seconds(start, now, frequency);
      break;
    }
    if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) break;
    if (Seconds(start, now, frequency) * 1000 > kWindowTimeoutMs) break;
  }
  // The first window need not be the main one (a program may show another window first): every
  // visible window of the process is asked to close until the process ends.
  LARGE_INTEGER closing;
  QueryPerformanceCounter(&closing);
  while (WaitForSingleObject(process.hProcess, kClosePollMs) == WAIT_TIMEOUT) {
    QueryPerformanceCounter(&now);
    if (Seconds(closing, now, frequency) * 1000 > kExitTimeoutMs) {
      std::fprintf(stderr, "the program did not end; terminating it\n");
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, INFINITE);
      break;
    }
    EnumWindows(CloseVisibleWindows, static_cast<LPARAM>(process.dwProcessId));
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  RemoveWorkDirectory(directory);
  return launch;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: launch_time.exe ROUNDS PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  const int rounds = std::max(1, _wtoi(argv[1]));
  wchar_t full[MAX_PATH];
  if (!GetFullPathNameW(argv[2], MAX_PATH, full, nullptr)) return 2;
  const std::wstring program = full;
  std::wstring arguments;
  for (int i = 3; i < argc; ++i) arguments += L" " + Quoted(argv[i]);
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    const Launch launch = LaunchOnce(program, arguments, round);
    if (launch.firstWindow < 0) {
      std::fprintf(stderr, "round %d: no visible window\n", round + 1);
      return 1;
    }
    std::printf("%.1f %.1f\n", launch.firstWindow * 1000, launch.ready * 1000);
    std::fflush(stdout);
    times.push_back(launch.firstWindow);
  }
  std::sort(times.begin(), times.end());
  const double median = times.size() % 2 ? times[times.size() / 2]
                                         : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
  std::printf("median %.1f %.1f %.1f\n", median * 1000, times.front() * 1000, times.back() * 1000);
  return 0;
}
