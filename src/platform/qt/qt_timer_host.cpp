#include "platform/qt/qt_timer_host.h"

namespace volumetra {

QtTimerHost::QtTimerHost() {
  // The schedule decides which ticks share a wake-up, so the wake-up itself comes on time.
  wakeUp_.setTimerType(Qt::PreciseTimer);
  wakeUp_.setSingleShot(true);
  QObject::connect(&wakeUp_, &QTimer::timeout, &wakeUp_, [this] { wake(); });
}

void QtTimerHost::arm(std::int64_t delayMs) {
  wakeUp_.start(static_cast<int>(delayMs));
}

void QtTimerHost::disarm() {
  wakeUp_.stop();
}

}  // namespace volumetra
