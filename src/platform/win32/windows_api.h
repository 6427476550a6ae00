#pragma once

// <windows.h> for the Windows backend. Its ANSI/Unicode macros would rename the program's own
// service methods (GetVolumeInformation, GetDiskFreeSpace, GetDriveType, the profile calls,
// SetCurrentDirectory) wherever this header is seen, so they are undefined here; the backend calls
// every function by its full name, the wide ("W") one where a text goes in or out.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef GetVolumeInformation
#undef GetDiskFreeSpace
#undef GetDriveType
#undef GetPrivateProfileString
#undef WritePrivateProfileString
#undef SetCurrentDirectory
