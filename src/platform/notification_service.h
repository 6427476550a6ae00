#pragma once

#include <functional>
#include <string>
#include <utility>

namespace volumetra {

/// One desktop notification. Texts are UTF-8.
struct Notification {
  /// Which subject it is about: a later notification with the same tag replaces this one while it
  /// is still up. The low-space notices use the drive letter.
  char tag = 0;
  std::string title;
  /// One or more lines, joined with "\n".
  std::string body;
};

/// The desktop's notifications. Where the desktop has none (no notification service, no bus),
/// nothing is shown and nothing is reported: a notification only adds to what the windows show.
class NotificationService {
 public:
  virtual ~NotificationService() = default;

  /// Shows `notification` without waiting for the desktop.
  virtual void Notify(const Notification& notification) = 0;

  /// Runs `handler` when the user clicks a notification shown here.
  void setOnClicked(std::function<void()> handler) { onClicked_ = std::move(handler); }

 protected:
  void Clicked() {
    if (onClicked_) onClicked_();
  }

 private:
  std::function<void()> onClicked_;
};

}  // namespace volumetra
