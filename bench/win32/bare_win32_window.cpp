// The reference for whole-program measurements on Windows: a bare Win32 window of the main
// window's size with 8 statics whose texts change every 500 ms, the cheapest thing a program on
// the system's own controls can do at the survey rate.
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
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
  SetTimer(window, 1, kIntervalMs, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
