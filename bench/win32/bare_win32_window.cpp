// The reference for whole-program measurements on Windows: a bare Win32 window of the main
// window's size with 8 statics whose texts change every 500 ms, the cheapest thing a program on
// the system's own controls can do at the survey rate. The statics use the system's font; with a
// face name on the command line they use that face at 9.75 pt, as the program's table cells do.
// With "/statusbar" in front of the command line the window also has a status bar of the common
// controls whose text changes with the statics, as the program's status line does: the cost of the
// common controls themselves, which the program must load for its status bar, tabs and slider.
#include <windows.h>
// After windows.h, which commctrl.h needs.
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr int kStatics = 8;
constexpr UINT kIntervalMs = 500;
constexpr std::string_view kStatusBarOption = "/statusbar";
constexpr int kStatusBarHeight = 20;
HWND statics[kStatics];
HWND statusBar = nullptr;
int count = 0;

/// A line as the program's status line reads: the count, the date and the time.
std::string StatusLine() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char line[64];
  std::snprintf(line, sizeof line, "Testloop No. %d%26s%02u.%02u.%04u   %02u:%02u:%02u", count, "", now.wDay,
                now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond);
  return line;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: {
      const std::string text = std::to_string(++count);
      for (HWND label : statics) SetWindowTextA(label, text.c_str());
      if (statusBar) SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(StatusLine().c_str()));
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  std::string face = commandLine ? commandLine : "";
  const bool withStatusBar = face.starts_with(kStatusBarOption);
  if (withStatusBar) {
    face.erase(0, kStatusBarOption.size());
    face.erase(0, face.find_first_not_of(' '));  // npos, for spaces only, erases them all
  }
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = "BareWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "BareWindow", "bare", WS_OVERLAPPEDWINDOW, 0, 0, 640, 160, nullptr,
                                nullptr, instance, nullptr);
  for (int i = 0; i < kStatics; ++i)
    statics[i] = CreateWindowExA(0, "STATIC", "-", WS_CHILD | WS_VISIBLE, i * 80, 20, 78, 16, window, nullptr,
                                 instance, nullptr);
  if (withStatusBar) {
    // Loaded only here, so that the plain window stays without the common controls.
    using InitControls = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = reinterpret_cast<InitControls>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("comctl32.dll"), "InitCommonControlsEx")));
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    if (init) init(&controls);
    // One part along the bottom of the client area, placed by the window, as the program's is.
    RECT client{};
    GetClientRect(window, &client);
    statusBar = CreateWindowExA(
        0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0,
        client.bottom - kStatusBarHeight, client.right, kStatusBarHeight, window, nullptr, instance, nullptr);
    int parts[] = {-1};
    SendMessageA(statusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
  }
  if (!face.empty()) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(975, GetDeviceCaps(screen, LOGPIXELSY), 7200);  // 9.75 pt
    ReleaseDC(nullptr, screen);
    HFONT font =
        CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_SWISS, face.c_str());
    for (HWND label : statics) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (statusBar) SendMessageA(statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  SetTimer(window, 1, kIntervalMs, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
