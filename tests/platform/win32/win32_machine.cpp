#include "platform/win32/win32_machine.h"

#include <stdexcept>

namespace volumetra {

void ProcessMessages(Win32WindowSystem& windows) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT || windows.PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

Win32Machine::Win32Machine(int dpi, FileService* files)
    : windows(dpi), services{fake.volumes, files ? *files : fake.files,
                             fake.profile, fake.clock,
                             fake.beep,    fake.loop,
                             windows,      "Windows"} {}

Win32Machine::~Win32Machine() {
  program.reset();
  process();  // the windows the views left for destruction
}

Program& Win32Machine::start() {
  program->Start();
  process();
  return *program;
}

Win32FormView& Win32Machine::view(const Form& form) const {
  auto* view = dynamic_cast<Win32FormView*>(form.view());
  if (!view) throw std::logic_error(form.name() + " has no Win32 view");
  return *view;
}

std::string TextOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

RECT PlaceOf(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace volumetra
