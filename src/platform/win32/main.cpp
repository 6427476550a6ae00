// Volumetra on Windows: the Win32 volume, file, clock and beep services, the INI profile, Windows
// timers and the windows on the system's own controls. The program ends when its main window is
// unloaded: by the Exit button, the close box or the end of the session, all the same way.
// One copy runs per settings file: a later start raises that copy's main window and ends.
#include "app/form1.h"
#include "app/program.h"
#include "platform/win32/desktop_services.h"
#include "platform/win32/running_copy.h"
#include "platform/win32/unsaved_settings.h"

namespace {

/// How long a later start waits for the running copy to answer: longer than a survey that waits
/// for a dead network drive.
constexpr std::chrono::seconds kRunningCopyPatience{10};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace volumetra;
  Win32Files files;
  RunningCopy runningCopy(files);
  if (runningCopy.heldElsewhere()) {
    const LaterStart later = runningCopy.AskToRaise(kRunningCopyPatience);
    if (later != LaterStart::LockTaken) return later == LaterStart::Raised ? 0 : 1;
  }
  DesktopServices desktop;
  // The drive map is read on its own thread while the main window is made, before the first
  // drive discovery asks for it.
  desktop.volumes.AskDriveMapAhead();
  Program program(desktop.services);
  // Windows ends the process soon after the session's end is handled: what the user must learn is
  // told there, and without a box.
  bool sessionEnded = false;
  desktop.windows.onSessionEnd = [&program, &sessionEnded] {
    if (program.Ended()) return;
    sessionEnded = true;
    program.Unload(program.form1());
    TellUnsavedSettings(program.m.Language, program.settingsState.SettingsSaveError, false);
  };
  program.Start();
  runningCopy.Listen([&program] { return program.RaiseMainWindow(); });
  const int exitCode = program.Ended() ? 0 : desktop.windows.Run();
  if (!sessionEnded) TellUnsavedSettings(program.m.Language, program.settingsState.SettingsSaveError, true);
  return exitCode;
}
