#pragma once

#include "platform/beep_service.h"

namespace volumetra {

/// The system beep through the window system.
class QtBeep : public BeepService {
 public:
  void Beep() override;
};

}  // namespace volumetra
