#pragma once

#include <string>

#include "platform/win32/windows_api.h"

namespace volumetra {

/// The text of `window` (a caption or an edit box's contents) as UTF-8.
std::string WindowText(HWND window);
/// Sets the text of `window` from UTF-8.
void SetTextOf(HWND window, const std::string& text);

}  // namespace volumetra
