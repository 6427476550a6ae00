#include "platform/win32/win32_notifications.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "platform/win32/wide_text.h"

namespace volumetra {
namespace {

constexpr const wchar_t* kWindowClass = L"VolumetraNotifications";
/// The message the notification area sends about an icon: wParam its id, lParam the event.
constexpr UINT kIconMessage = WM_APP + 1;
/// The program's icon in the exe's resources.
constexpr int kProgramIcon = 1;
/// IDI_APPLICATION, by number: the macro names the ANSI form.
constexpr int kSystemApplicationIcon = 32512;

template <std::size_t N>
void CopyCut(wchar_t (&to)[N], const std::string& utf8) {
  const std::wstring text = Wide(utf8);
  const std::size_t length = std::min(text.size(), N - 1);
  std::copy_n(text.data(), length, to);
  to[length] = L'\0';
}

HICON SmallIcon() {
  auto* icon =
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  return icon ? icon : LoadIconW(nullptr, MAKEINTRESOURCEW(kSystemApplicationIcon));
}

NOTIFYICONDATAW IconData(HWND window, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = id;
  return data;
}

}  // namespace

Win32Notifications::~Win32Notifications() {
  while (!icons_.empty()) Remove(*icons_.begin());
  if (window_) DestroyWindow(window_);
  if (shell_) FreeLibrary(shell_);
}

bool Win32Notifications::Ready() {
  if (notifyIcon_ && window_) return true;
  if (!shell_) shell_ = LoadLibraryW(L"shell32.dll");
  if (!shell_) return false;
  notifyIcon_ =
      reinterpret_cast<NotifyIconCall>(reinterpret_cast<void*>(GetProcAddress(shell_, "Shell_NotifyIconW")));
  if (!notifyIcon_) return false;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);  // fails harmlessly when an earlier object registered it
  window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (!window_) return false;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

void Win32Notifications::Notify(const Notification& notification) {
  if (!Ready()) return;
  const UINT id = static_cast<unsigned char>(notification.tag);
  NOTIFYICONDATAW data = IconData(window_, id);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  data.uCallbackMessage = kIconMessage;
  data.hIcon = SmallIcon();
  CopyCut(data.szTip, notification.title);
  CopyCut(data.szInfoTitle, notification.title);
  CopyCut(data.szInfo, notification.body);
  data.dwInfoFlags = NIIF_WARNING;
  const bool present = icons_.contains(id);
  if (notifyIcon_(present ? NIM_MODIFY : NIM_ADD, &data)) {
    icons_.insert(id);
  } else if (present) {
    icons_.erase(id);  // the shell lost it (a restarted taskbar): add it anew
    if (notifyIcon_(NIM_ADD, &data)) icons_.insert(id);
  }
}

void Win32Notifications::Remove(UINT id) {
  NOTIFYICONDATAW data = IconData(window_, id);
  notifyIcon_(NIM_DELETE, &data);
  icons_.erase(id);
}

LRESULT CALLBACK Win32Notifications::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32Notifications*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message != kIconMessage || !self) return DefWindowProcW(window, message, wParam, lParam);
  const UINT id = static_cast<UINT>(wParam);
  switch (LOWORD(lParam)) {
    case NIN_BALLOONUSERCLICK:
    case WM_LBUTTONUP:
      self->Remove(id);
      self->Clicked();
      break;
    case NIN_BALLOONTIMEOUT:
    case NIN_BALLOONHIDE:
      self->Remove(id);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace volumetra
