#pragma once

namespace volumetra {

/// The system beep.
class BeepService {
 public:
  virtual ~BeepService() = default;
  virtual void Beep() = 0;
};

}  // namespace volumetra
