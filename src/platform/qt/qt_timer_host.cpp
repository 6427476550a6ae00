#include "platform/qt/qt_timer_host.h"

namespace volumetra {

void QtTimerHost::TimerChanged(Timer& timer) {
  QTimer*& qtimer = timers_[&timer];
  if (!qtimer) {
    qtimer = new QTimer(&owner_);
    // Coarse timers (within 5 % of their interval, like window-message timers) let the event loop
    // serve timers that fall due close together with one wake-up.
    qtimer->setTimerType(Qt::CoarseTimer);
    QObject::connect(qtimer, &QTimer::timeout, qtimer, [&timer] { timer.fire(); });
  }
  if (timer.active()) {
    qtimer->start(timer.interval());
  } else {
    qtimer->stop();
  }
}

void QtTimerHost::TimerRemoved(Timer& timer) {
  const auto found = timers_.find(&timer);
  if (found == timers_.end()) return;
  QTimer* qtimer = found->second;
  timers_.erase(found);
  qtimer->stop();
  qtimer->disconnect();
  // The timer may be removed from inside its own tick.
  qtimer->deleteLater();
}

bool QtTimerHost::running(const Timer& timer) const {
  const auto found = timers_.find(&timer);
  return found != timers_.end() && found->second->isActive();
}

}  // namespace volumetra
