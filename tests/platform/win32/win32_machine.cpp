#include "platform/win32/win32_machine.h"

#include <stdexcept>

#include "platform/win32/common_controls.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_lazy_form_view.h"

namespace volumetra {

void ProcessMessages(Win32WindowSystem& windows) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT || windows.PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

Win32Machine::Win32Machine(int dpi, FileService* programFiles)
    : TestMachine({.platform = "Windows", .files = programFiles}, ScriptedVolumes, dpi) {}

Win32Machine::~Win32Machine() {
  program.reset();
  process();  // the windows the views left for destruction
}

Program& Win32Machine::start() {
  program->Start();
  process();
  return *program;
}

Win32FormView& Win32Machine::view(const Form& form) const {
  auto* view = dynamic_cast<Win32LazyFormView*>(form.view());
  if (!view) throw std::logic_error(form.name() + " has no Win32 view");
  // A form that was never shown has its windows made here, as they would be at its first show.
  return view->windows();
}

std::string TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return Utf8(text);
}

std::string ToolTipOf(HWND tips, HWND control) {
  // A tip is at most INFOTIPSIZE (1024) characters long.
  std::wstring text(1025, L'\0');
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text.data();
  SendMessageW(tips, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  return Utf8(text.c_str());
}

std::string StatusTextOf(HWND statusBar) {
  const auto length = LOWORD(SendMessageW(statusBar, SB_GETTEXTLENGTHW, 0, 0));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  return Utf8(text.c_str());
}

std::string TabCaptionOf(HWND tabs, int index) {
  wchar_t text[256] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return Utf8(text);
}

RECT PlaceOf(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace volumetra
