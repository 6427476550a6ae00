#pragma once

#include <functional>
#include <memory>
#include <unordered_map>

#include "platform/win32/win32_look.h"
#include "platform/win32/windows_api.h"
#include "platform/window_system.h"

namespace volumetra {

class Win32FormView;

/// The Win32 windowing backend: one top-level window per form on the system's own controls,
/// laid out at the screen's DPI, and the message loop that runs the program.
class Win32WindowSystem : public WindowSystem {
 public:
  Win32WindowSystem();
  explicit Win32WindowSystem(int dpi);
  ~Win32WindowSystem() override;
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

  std::unique_ptr<FormView> CreateView(Form& form) override;
  float ScreenWidthTwips() override;
  float ScreenHeightTwips() override;
  /// Ends the message loop with exit code 0.
  void Quit() override;

  /// Runs the message loop until Quit; gives the exit code. Before a message is dispatched, the
  /// system's close command (Alt+F4) goes to the form it was typed in, even one without a close
  /// box, a form with key preview sees the characters typed in it first, Return presses the
  /// focused push button (as Space does), the form's tool tips see the mouse, and the dialog
  /// manager (IsDialogMessageW) moves the focus: Tab and Shift+Tab in the designed tab order,
  /// arrows in an option group, mnemonics. The loop is the wide one, so a typed character reaches
  /// its window as UTF-16, outside the ANSI code page too.
  int Run();
  /// Handles one message as Run does; false when it is no message of the program's windows.
  bool PreTranslate(const MSG& message);

  bool quitRequested() const { return quitRequested_; }
  Win32Look& look() { return *look_; }
  /// The view of the top-level window `window`, if it is a form's.
  Win32FormView* viewOf(HWND window) const;

  /// Runs when Windows ends the session, so the program can end the way its Exit button does.
  std::function<void()> onSessionEnd;

  // Kept by the views.
  void remember(HWND window, Win32FormView* view) { views_[window] = view; }
  void forget(HWND window) { views_.erase(window); }
  void sessionEnding();

 private:
  std::unique_ptr<Win32Look> look_;
  std::unordered_map<HWND, Win32FormView*> views_;
  bool madeMainView_ = false;
  bool quitRequested_ = false;
};

}  // namespace volumetra
