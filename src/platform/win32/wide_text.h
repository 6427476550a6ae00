#pragma once

#include <string>
#include <string_view>

namespace volumetra {

/// The program's own texts are UTF-8 everywhere; the Win32 boundary speaks UTF-16. These convert
/// at that boundary, so every text the user sees or stores (captions, labels, paths, values)
/// keeps every character, whatever the system's ANSI code page.

/// UTF-8 to UTF-16. Bytes that are no valid UTF-8 become U+FFFD.
std::wstring Wide(std::string_view utf8);
/// UTF-16 to UTF-8. Unpaired surrogates become U+FFFD.
std::string Utf8(std::wstring_view wide);
/// A NUL-terminated UTF-16 text, as the wide calls fill their buffers, to UTF-8.
std::string Utf8(const wchar_t* wide);

/// Bytes in the system's ANSI code page (CP_ACP) to UTF-8, and back; a character that code page
/// lacks becomes its default character ("?").
std::string Utf8FromAnsi(std::string_view ansi);
std::string AnsiFromUtf8(std::string_view utf8);
/// True when every character of `utf8` has a form in the ANSI code page.
bool FitsAnsiCodePage(std::string_view utf8);

}  // namespace volumetra
