#pragma once

#include <vector>

#include "platform/notification_service.h"

namespace volumetra {

/// Desktop notifications that are only recorded, for tests; `click` plays the user's click on one.
class RecordingNotifications : public NotificationService {
 public:
  void Notify(const Notification& notification) override { shown.push_back(notification); }
  void click() { Clicked(); }

  /// Every notification shown, in order.
  std::vector<Notification> shown;
};

}  // namespace volumetra
