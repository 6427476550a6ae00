#pragma once

// The common controls (trackbar, status bar, tab control, tool tips) after <windows.h>, which
// <commctrl.h> needs first.
#include "platform/win32/windows_api.h"
// Kept apart so that sorting the includes keeps this one second.
#include <commctrl.h>
