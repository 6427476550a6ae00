#include "platform/win32/win32_window_system.h"

#include <algorithm>
#include <iterator>

#include "platform/win32/win32_form_view.h"
#include "platform/win32/win32_lazy_form_view.h"

namespace volumetra {
namespace {

/// Keys the dialog manager takes that type a character (WM_CHAR) too.
constexpr WPARAM kCharacterKeys[] = {VK_TAB, VK_RETURN, VK_ESCAPE};

}  // namespace

Win32WindowSystem::Win32WindowSystem() : look_(std::make_unique<Win32Look>()) {}

Win32WindowSystem::Win32WindowSystem(int dpi) : look_(std::make_unique<Win32Look>(dpi)) {}

Win32WindowSystem::~Win32WindowSystem() = default;

std::unique_ptr<FormView> Win32WindowSystem::CreateView(Form& form) {
  // The first form is the main window, shown at start-up: its windows are made at once, so that
  // they are ready before any other form shows. The others wait for their first show.
  const bool main = !madeMainView_;
  madeMainView_ = true;
  return std::make_unique<Win32LazyFormView>(form, *this, main);
}

float Win32WindowSystem::ScreenWidthTwips() {
  return look_->toTwips(GetSystemMetrics(SM_CXSCREEN));
}

float Win32WindowSystem::ScreenHeightTwips() {
  return look_->toTwips(GetSystemMetrics(SM_CYSCREEN));
}

void Win32WindowSystem::Quit() {
  quitRequested_ = true;
  PostQuitMessage(0);
}

void Win32WindowSystem::sessionEnding() {
  if (onSessionEnd) onSessionEnd();
}

Win32FormView* Win32WindowSystem::viewOf(HWND window) const {
  const auto found = views_.find(window);
  return found == views_.end() ? nullptr : found->second;
}

bool Win32WindowSystem::PreTranslate(const MSG& message) {
  Win32FormView* view = message.hwnd ? viewOf(GetAncestor(message.hwnd, GA_ROOT)) : nullptr;
  if (!view) return false;
  view->relayMouse(message);
  switch (message.message) {
    case WM_SYSKEYDOWN:
      if (message.wParam != VK_F4) break;
      view->closeRequested();
      return true;
    case WM_CHAR:
      if (view->keyPreview() && view->previewKey(static_cast<int>(message.wParam))) return true;
      break;
    case WM_KEYDOWN:
      if (message.wParam == VK_RETURN && view->pressFocusedButton(message.hwnd)) return true;
      // A form with key preview sees the keys that type a character as characters, the dialog
      // manager's keys among them.
      if (view->keyPreview() && std::ranges::find(kCharacterKeys, message.wParam) != std::end(kCharacterKeys))
        return false;
      break;
    default:
      break;
  }
  // The dialog manager moves the focus (Tab, Shift+Tab, arrows in an option group, mnemonics) and
  // translates and dispatches every other message itself.
  MSG forDialog = message;
  return IsDialogMessageW(view->window(), &forDialog) != FALSE;
}

int Win32WindowSystem::Run() {
  MSG message{};
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

}  // namespace volumetra
