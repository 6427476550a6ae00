// The reference for whole-program measurements on Windows: a bare Win32 window of the main
// window's size with 8 statics whose texts change every 500 ms, the cheapest thing a program on
// the system's own controls can do at the survey rate. The statics use the system's font; with a
// face name on the command line they use that face at 9.75 pt, as the program's table cells do.
#include <windows.h>

#include <string>

namespace {

constexpr int kStatics = 8;
constexpr UINT kIntervalMs = 500;
HWND statics[kStatics];
int count = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: {
      const std::string text = std::to_string(++count);
      for (HWND label : statics) SetWindowTextA(label, text.c_str());
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
  if (commandLine && *commandLine) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(975, GetDeviceCaps(screen, LOGPIXELSY), 7200);  // 9.75 pt
    ReleaseDC(nullptr, screen);
    HFONT font =
        CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_SWISS, commandLine);
    for (HWND label : statics) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
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
