#pragma once

#include <string>

#include "platform/win32/win32_form_view.h"
#include "platform/win32/win32_window_system.h"
#include "support/machine/test_machine.h"

namespace volumetra {

/// Dispatches the messages waiting for this thread, as the program's loop does.
void ProcessMessages(Win32WindowSystem& windows);

/// The fake machine of the logic tests (scripted volumes, virtual clock and timers, files in a
/// temporary directory) with real Win32 windows instead of the headless ones, at `dpi`; with
/// `programFiles`, the program's files are those instead of the fake ones.
class Win32Machine : public TestMachine<FakeVolumes, Win32WindowSystem> {
 public:
  explicit Win32Machine(int dpi = 96, FileService* programFiles = nullptr);
  ~Win32Machine();

  Program& start();
  Win32FormView& view(const Form& form) const;
  HWND window(const Form& form) const { return view(form).window(); }
  HWND windowOf(const Form& form, const Control& control) const { return view(form).windowOf(control); }
  void process() { ProcessMessages(windows); }
};

/// A window's text (GetWindowTextW), in UTF-8.
std::string TextOf(HWND window);
/// The tip that the tool tip control `tips` holds for the control window `control`.
std::string ToolTipOf(HWND tips, HWND control);
/// The text of a one-part status bar.
std::string StatusTextOf(HWND statusBar);
/// The caption of tab `index` of a tab control.
std::string TabCaptionOf(HWND tabs, int index);
/// A window's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND window);

}  // namespace volumetra
