// Screenshots of every window of the Windows program as the screen shows it, frame included: the
// main window, the graph window, each page of the options dialog and the about box, in English and
// in German, on the real Win32 windows with a fake machine of today's disks and a fixed date. Runs
// under Wine on a virtual desktop (scripts/screenshots_windows.sh); writes BMP files, which the
// script turns into PNG.
// Usage: volumetra_win32_screenshots.exe <directory> [dpi]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/form1.h"
#include "platform/win32/drawn_pixels.h"
#include "platform/win32/win32_machine.h"
#include "screenshots/screenshot_plan.h"
#include "support/todays_drives.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/frm_splash.h"

namespace volumetra {
namespace {

using screenshots::kLanguages;
using screenshots::kOptionPages;
using screenshots::Language;

// Lets the desktop map, frame and paint what was shown, in real time; the program's own timers run
// on the fake machine's virtual clock and do not move meanwhile.
void Settle(Win32Machine& machine) {
  for (int i = 0; i < 8; ++i) {
    machine.process();
    Sleep(50);
  }
}

// `image` as a 32-bit BMP file, every pixel opaque: image tools may take the fourth byte for alpha.
bool WriteBmp(const std::string& path, const Image& image) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = image.width;
  info.biHeight = -image.height;  // top-down rows
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels = image.pixels;
  for (std::uint32_t& pixel : pixels) pixel |= 0xFF000000u;
  const auto imageSize = static_cast<DWORD>(pixels.size() * sizeof(std::uint32_t));
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + imageSize;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(reinterpret_cast<const char*>(pixels.data()), imageSize);
  return static_cast<bool>(out);
}

// The window with its frame, as the screen shows it, brought to the front first.
bool Save(Win32Machine& machine, const Form& form, const std::string& path) {
  HWND window = machine.window(form);
  // At a high DPI the windows placed for 96 DPI may reach beyond the screen: moved onto it.
  RECT placed;
  GetWindowRect(window, &placed);
  const int overhang = placed.right - GetSystemMetrics(SM_CXSCREEN);
  if (overhang > 0) {
    SetWindowPos(window, nullptr, std::max(0L, placed.left - overhang), placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetForegroundWindow(window);
  BringWindowToTop(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Settle(machine);
  RECT frame;
  GetWindowRect(window, &frame);
  const Canvas canvas(frame.right - frame.left, frame.bottom - frame.top);
  HDC screen = GetWindowDC(window);
  BitBlt(canvas.dc(), 0, 0, frame.right - frame.left, frame.bottom - frame.top, screen, 0, 0, SRCCOPY);
  ReleaseDC(window, screen);
  const Image image = canvas.image();
  if (!WriteBmp(path, image)) {
    std::fprintf(stderr, "volumetra_win32_screenshots: could not save %s\n", path.c_str());
    return false;
  }
  std::printf("%s\n", path.c_str());
  return true;
}

bool ShootLanguage(const Language& language, const std::string& directory, int dpi) {
  Win32Machine machine(dpi);
  AddTodaysDrives(machine.volumes);
  machine.files.separator = '\\';
  // The graph window opens beside the main window, not over it.
  std::ofstream(machine.iniPath()) << "[System]\nLanguage=" << language.name
                                   << "\nWindow1XPos=300\nWindow1YPos=300\nWindow2XPos=10500\nWindow2YPos="
                                      "540\nReportFileDir=C:\\Users\\user\\Volumetra\\\n";
  Program& program = machine.start();
  machine.advance(1200);  // two surveys
  const std::string prefix = directory + "/windows-";
  const std::string suffix = std::string("-") + language.fileSuffix + ".bmp";
  bool saved = Save(machine, program.form1(), prefix + "main-window" + suffix);
  program.form1().Command5.Click();  // the graph window
  machine.advance(600);
  saved = Save(machine, program.form2(), prefix + "graph-window" + suffix) && saved;
  program.form1().Command4.Click();  // the options dialog
  Form3& options = program.form3();
  for (int page = 0; page < 4; ++page) {
    options.SSTab1.setValue(page);
    saved = Save(machine, options, prefix + "options-" + kOptionPages[page] + suffix) && saved;
  }
  program.Unload(options);
  program.form1().Command3.Click();  // the about box
  saved = Save(machine, program.frmSplash(), prefix + "about-box" + suffix) && saved;
  return saved;
}

}  // namespace
}  // namespace volumetra

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: volumetra_win32_screenshots.exe <directory> [dpi]\n");
    return 2;
  }
  const int dpi = argc == 3 ? std::atoi(argv[2]) : 96;
  bool saved = true;
  for (const volumetra::screenshots::Language& language : volumetra::screenshots::kLanguages) {
    saved = volumetra::ShootLanguage(language, argv[1], dpi) && saved;
  }
  return saved ? 0 : 1;
}
