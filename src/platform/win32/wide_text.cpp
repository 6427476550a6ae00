#include "platform/win32/wide_text.h"

#include <cwchar>

#include "platform/win32/windows_api.h"

namespace volumetra {
namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
  return wide;
}

std::string FromWide(UINT codePage, std::wstring_view wide, BOOL* lossy) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  // UTF-8 takes no default character and no "used default" flag.
  const bool utf8 = codePage == CP_UTF8;
  const int length =
      WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, utf8 ? nullptr : lossy);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  if (length > 0)
    WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr,
                        utf8 ? nullptr : lossy);
  return bytes;
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
  return ToWide(CP_UTF8, utf8);
}

std::string Utf8(std::wstring_view wide) {
  return FromWide(CP_UTF8, wide, nullptr);
}

std::string Utf8(const wchar_t* wide) {
  return wide ? Utf8(std::wstring_view(wide, std::wcslen(wide))) : std::string();
}

std::string Utf8FromAnsi(std::string_view ansi) {
  return Utf8(ToWide(CP_ACP, ansi));
}

std::string AnsiFromUtf8(std::string_view utf8) {
  return FromWide(CP_ACP, Wide(utf8), nullptr);
}

bool FitsAnsiCodePage(std::string_view utf8) {
  const std::wstring wide = Wide(utf8);
  BOOL lossy = FALSE;
  const std::string ansi = FromWide(CP_ACP, wide, &lossy);
  return !lossy && ToWide(CP_ACP, ansi) == wide;
}

}  // namespace volumetra
