#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "platform/notification_service.h"

namespace volumetra {

/// Desktop notifications through the freedesktop notification service
/// (org.freedesktop.Notifications) on a D-Bus bus, the session bus by default. No call waits for
/// the service: without a bus or a service nothing is shown. Each notification carries the
/// "default" action, which the service invokes when the user clicks it.
class DbusNotifications : public QObject, public NotificationService {
  Q_OBJECT

 public:
  /// `appName`: the program's name as the service shows it; `desktopEntry`: its desktop entry id,
  /// which is also its icon's name.
  DbusNotifications(QString appName, QString desktopEntry,
                    QDBusConnection bus = QDBusConnection::sessionBus());

  void Notify(const Notification& notification) override;

 private slots:
  void onActionInvoked(uint id, const QString& action);
  void onActivationToken(uint id, const QString& token);
  void onNotificationClosed(uint id, uint reason);

 private:
  void send(const Notification& notification);

  QString appName_;
  QString desktopEntry_;
  QDBusConnection bus_;
  /// Whether the service reads markup in the body; unknown until it has told its capabilities.
  std::optional<bool> bodyMarkup_;
  /// Notifications waiting for that answer.
  std::vector<Notification> waiting_;
  /// The service's id of each tag's notification while it is up.
  QHash<char, uint> idsByTag_;
  /// What the service gave for handing the focus over with the click that comes next (Wayland).
  QByteArray activationToken_;
};

}  // namespace volumetra
