#pragma once

#include <string>

#include "platform/beep_service.h"

namespace volumetra {

/// The terminal bell: BEL written to the controlling terminal, if the process has one. Never
/// blocks and never reports a failure. (A windowing backend gives the desktop's own beep.)
class LinuxBeep : public BeepService {
 public:
  explicit LinuxBeep(std::string terminalPath = "/dev/tty") : terminalPath_(std::move(terminalPath)) {}
  void Beep() override;

 private:
  std::string terminalPath_;
};

}  // namespace volumetra
