#pragma once

#include <QTimer>
#include <cstdint>

#include "platform/scheduled_timer_host.h"

namespace volumetra {

/// Runs the program's timers (ScheduledTimerHost) on one single-shot Qt timer of the event loop's
/// thread.
class QtTimerHost final : public ScheduledTimerHost {
 public:
  QtTimerHost();

 private:
  void arm(std::int64_t delayMs) override;
  void disarm() override;

  QTimer wakeUp_;
};

}  // namespace volumetra
