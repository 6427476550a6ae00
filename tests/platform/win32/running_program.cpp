#include "platform/win32/running_program.h"

#include <cmath>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "app/form1_design.h"
#include "platform/win32/control_windows.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/wine_drives.h"

namespace volumetra {

using namespace std::chrono_literals;

bool RunningProgram::CopyTo(const std::string& dir) {
  return CopyFileW(Wide(WindowsPathOf(VOLUMETRA_EXE)).c_str(), Wide(dir + "\\volumetra.exe").c_str(), FALSE);
}

RunningProgram::RunningProgram(const std::string& dir) {
  const std::wstring exe = Wide(dir + "\\volumetra.exe");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring command = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, Wide(dir).c_str(),
                      &startup, &process))
    return;
  CloseHandle(process.hThread);
  process_ = process.hProcess;
}

RunningProgram::~RunningProgram() {
  if (!process_) return;
  if (!WaitForEnd(0ms)) TerminateProcess(process_, 1);
  CloseHandle(process_);
}

HWND RunningProgram::WaitForMainWindow(std::chrono::milliseconds limit) {
  HWND main = nullptr;
  Eventually([&] { return (main = FindWindowW(kFormClass, L"Volumetra V 0.95")) != nullptr; }, limit);
  return main;
}

std::optional<DWORD> RunningProgram::WaitForEnd(std::chrono::milliseconds limit) {
  if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD exitCode = STILL_ACTIVE;
  GetExitCodeProcess(process_, &exitCode);
  return exitCode;
}

int ControlId(const char* name, int index) {
  const auto controls = Form1Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (std::string_view(controls[i].name) == name && controls[i].index == index)
      return kFirstControlId + static_cast<int>(i);
  }
  throw std::out_of_range(name);
}

std::string ControlText(HWND main, const char* name, int index) {
  return TextOf(GetDlgItem(main, ControlId(name, index)));
}

std::vector<std::string> ShownRows(HWND main) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT client;
  GetClientRect(main, &client);
  // Client height = 240 n + 1168 twips less the frame (405).
  const int rows = static_cast<int>(std::lround((client.bottom * 1440.0 / dpi - 763) / 240));
  std::vector<std::string> letters;
  for (int i = 0; i < rows && i < 24; ++i) letters.push_back(ControlText(main, "Label2", i));
  return letters;
}

}  // namespace volumetra
