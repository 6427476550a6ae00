#include "platform/qt/dbus_notifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>
#include <utility>

namespace volumetra {
namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";
constexpr const char* kDefaultAction = "default";
/// Normal urgency: the service's usual time-out applies.
constexpr uchar kNormalUrgency = 1;
/// The service's own time-out.
constexpr int kServiceTimeout = -1;

QDBusMessage Call(const char* method) {
  return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

}  // namespace

DbusNotifications::DbusNotifications(QString appName, QString desktopEntry, QDBusConnection bus)
    : appName_(std::move(appName)), desktopEntry_(std::move(desktopEntry)), bus_(std::move(bus)) {
  if (!bus_.isConnected()) return;
  bus_.connect(kService, kPath, kInterface, "ActionInvoked", this, SLOT(onActionInvoked(uint, QString)));
  bus_.connect(kService, kPath, kInterface, "ActivationToken", this, SLOT(onActivationToken(uint, QString)));
  bus_.connect(kService, kPath, kInterface, "NotificationClosed", this,
               SLOT(onNotificationClosed(uint, uint)));
}

void DbusNotifications::Notify(const Notification& notification) {
  if (!bus_.isConnected()) return;
  if (bodyMarkup_) {
    send(notification);
    return;
  }
  waiting_.push_back(notification);
  if (waiting_.size() > 1) return;  // the question below is on its way
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(Call("GetCapabilities")), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answer) {
    answer->deleteLater();
    const QDBusPendingReply<QStringList> capabilities = *answer;
    std::vector<Notification> waiting = std::exchange(waiting_, {});
    // No service: these are not shown, and the next notification asks again.
    if (capabilities.isError()) return;
    bodyMarkup_ = capabilities.value().contains(QStringLiteral("body-markup"));
    for (const Notification& held : waiting) send(held);
  });
}

void DbusNotifications::send(const Notification& notification) {
  QString body = QString::fromStdString(notification.body);
  if (*bodyMarkup_) body = body.toHtmlEscaped();
  const QVariantMap hints{{QStringLiteral("desktop-entry"), desktopEntry_},
                          {QStringLiteral("category"), QStringLiteral("device")},
                          {QStringLiteral("urgency"), QVariant::fromValue(kNormalUrgency)}};
  QDBusMessage call = Call("Notify");
  call << appName_ << idsByTag_.value(notification.tag, 0u) << desktopEntry_
       << QString::fromStdString(notification.title) << body
       << QStringList{QString::fromLatin1(kDefaultAction), appName_} << hints << kServiceTimeout;
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  const char tag = notification.tag;
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, tag](QDBusPendingCallWatcher* answer) {
    answer->deleteLater();
    const QDBusPendingReply<uint> id = *answer;
    if (!id.isError()) idsByTag_.insert(tag, id.value());
  });
}

void DbusNotifications::onActionInvoked(uint id, const QString& action) {
  if (action != QLatin1String(kDefaultAction) || idsByTag_.key(id, 0) == 0) return;
  if (!activationToken_.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", std::exchange(activationToken_, {}));
  Clicked();
}

void DbusNotifications::onActivationToken(uint id, const QString& token) {
  if (idsByTag_.key(id, 0) != 0) activationToken_ = token.toUtf8();
}

void DbusNotifications::onNotificationClosed(uint id, uint /*reason*/) {
  const char tag = idsByTag_.key(id, 0);
  if (tag != 0) idsByTag_.remove(tag);
}

}  // namespace volumetra
