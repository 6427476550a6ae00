#pragma once

#include "platform/beep_service.h"

namespace volumetra {

/// The system beep: MessageBeep with the default sound.
class Win32Beep : public BeepService {
 public:
  void Beep() override;
};

}  // namespace volumetra
