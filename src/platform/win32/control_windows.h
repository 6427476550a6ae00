#pragma once

#include "platform/control.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

/// The program's own window classes: forms, containers (frames and tab pages) and pictures.
inline constexpr const char* kFormClass = "VolumetraForm";
inline constexpr const char* kPanelClass = "VolumetraPanel";
inline constexpr const char* kPictureClass = "VolumetraPicture";

/// Registers the classes once per process: forms and panels run `procedure`, which passes their
/// controls' notifications to the form's view; pictures paint the Control* kept in their
/// GWLP_USERDATA.
void RegisterWindowClasses(WNDPROC procedure);

/// The system control that shows `control`, made hidden as a child of `parent` with the id `id`:
/// a static for a label or a shape, a push button, a three-state check box, a radio button, a
/// single-line edit box, a trackbar, a status bar, a panel for a frame, a picture for an image,
/// or a tab control. The view places it and shows its properties.
HWND CreateControlWindow(const Control& control, HWND parent, int id);

/// The window style of a label's static for its alignment and line count.
DWORD LabelStyle(const Control& label);

}  // namespace volumetra
