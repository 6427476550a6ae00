#include "platform/win32/window_text.h"

#include "platform/win32/wide_text.h"

namespace volumetra {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return Utf8(text);
}

void SetTextOf(HWND window, const std::string& text) {
  SetWindowTextW(window, Wide(text).c_str());
}

}  // namespace volumetra
