#pragma once

namespace volumetra {

/// The program's name on the desktop (reverse DNS, in lower case as AppStream asks of component
/// ids): its desktop entry, AppStream component and icon carry it, and the application gives it to
/// the desktop so that its windows group under the menu entry. The build reads it from here to
/// name the installed files.
inline constexpr const char* kDesktopId = "io.github.volumetra.volumetra";

/// The class of the program's windows (the second half of WM_CLASS), which the desktop entry's
/// StartupWMClass names.
inline constexpr const char* kWindowClass = "Volumetra";

}  // namespace volumetra
