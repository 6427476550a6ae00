#include "platform/win32/system_error_text.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

std::string SystemErrorText(unsigned long error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message =
      length > 0 && text ? Utf8(std::wstring_view(text, length)) : "error " + std::to_string(error);
  if (text) LocalFree(text);
  while (!message.empty() &&
         (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' || message.back() == '.'))
    message.pop_back();
  return message;
}

}  // namespace volumetra
