#pragma once

#include "platform/control.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

/// The program's own window classes: forms, containers (frames and tab pages) and pictures.
inline constexpr const wchar_t* kFormClass = L"VolumetraForm";
inline constexpr const wchar_t* kPanelClass = L"VolumetraPanel";
inline constexpr const wchar_t* kPictureClass = L"VolumetraPicture";

/// Registers the form class once per process, and loads the common controls: forms and panels run
/// `procedure`, which passes their controls' notifications to the form's view. The panel and
/// picture classes are registered when their first window is made (each registration costs about
/// 2 ms under Wine, and the windows shown at start-up have neither).
void RegisterWindowClasses(WNDPROC procedure);

/// The panel class, registered on first use.
const wchar_t* PanelClass();

/// The system control that shows `control`, made hidden as a child of `parent` with the id `id`:
/// an owner-drawn static for a label, a static for a shape, a push button, a three-state check box, a radio
/// button, a single-line edit box, a trackbar, a status bar, a panel for a frame, a picture for an image, or
/// a tab control. The view places it and shows its properties.
/// The tab stops among them get WS_TABSTOP, and every control but the option buttons after the
/// first of a container WS_GROUP, for the dialog manager (IsDialogMessageW) that moves the focus.
HWND CreateControlWindow(const Control& control, HWND parent, int id);

/// True for the kinds of control the focus moves to with Tab.
bool IsTabStop(ControlKind kind);

}  // namespace volumetra
