#include "platform/win32/win32_beep.h"

#include "platform/win32/windows_api.h"

namespace volumetra {

void Win32Beep::Beep() {
  MessageBeep(MB_OK);
}

}  // namespace volumetra
