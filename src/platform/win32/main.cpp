// Volumetra on Windows: the Win32 volume, file, clock and beep services, the INI profile, Windows
// timers and the windows on the system's own controls. The program ends when its main window is
// unloaded: by the Exit button, the close box or the end of the session, all the same way.
#include "app/form1.h"
#include "app/program.h"
#include "platform/win32/desktop_services.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace volumetra;
  DesktopServices desktop;
  Program program(desktop.services);
  desktop.windows.onSessionEnd = [&program] {
    if (!program.Ended()) program.Unload(program.form1());
  };
  program.Start();
  return program.Ended() ? 0 : desktop.windows.Run();
}
