#pragma once

#include "platform/control.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

/// The program's own window classes: forms, containers (frames and tab pages) and pictures.
inline constexpr const wchar_t* kFormClass = L"VolumetraForm";
inline constexpr const wchar_t* kPanelClass = L"VolumetraPanel";
inline constexpr const wchar_t* kPictureClass = L"VolumetraPicture";

/// Registers the classes once per process: forms and panels run `procedure`, which passes their
/// controls' notifications to the form's view; pictures paint the Control* kept in their
/// GWLP_USERDATA.
void RegisterWindowClasses(WNDPROC procedure);

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
