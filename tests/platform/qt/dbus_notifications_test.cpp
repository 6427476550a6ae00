// The desktop notifications against a real notification server: dunst on a display and a session
// bus of the test's own, read back with dunstctl as a user's scripts read it.
#include "platform/qt/dbus_notifications.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

constexpr const char* kPrograms[] = {"/usr/bin/Xvfb", "/usr/bin/dbus-daemon", "/usr/bin/dunst",
                                     "/usr/bin/dunstctl"};
constexpr int kWaitMs = 10000;
constexpr const char* kServer = "org.freedesktop.Notifications";
constexpr const char* kBusConfig =
    R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

std::string Unavailable() {
  for (const char* program : kPrograms)
    if (access(program, X_OK) != 0) return std::string(program) + " is not installed";
  return {};
}

/// Starts `program` and reads the one line it writes to its output once it is ready.
QString StartTellingLine(QProcess& process, const QString& program, const QStringList& arguments) {
  process.start(program, arguments);
  if (!process.waitForStarted(kWaitMs)) return {};
  while (!process.canReadLine())
    if (!process.waitForReadyRead(kWaitMs)) return {};
  return QString::fromUtf8(process.readLine()).trimmed();
}

void End(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(kWaitMs)) process.kill();
  process.waitForFinished(kWaitMs);
}

/// An X display, a session bus and, on demand, dunst on them; all end with the object.
class NotificationDesktop {
 public:
  NotificationDesktop() {
    EnsureQtApplication();
    const QString display = StartTellingLine(
        display_, "/usr/bin/Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (display.isEmpty()) return;
    environment_.insert("DISPLAY", ":" + display);
    bus_.setProcessEnvironment(environment_);
    // A bus that starts no services of its own: the server runs only when a test starts it.
    QFile busConfig(config_.filePath("bus.conf"));
    if (!busConfig.open(QIODevice::WriteOnly) || busConfig.write(kBusConfig) < 0) return;
    busConfig.close();
    address_ = StartTellingLine(
        bus_, "/usr/bin/dbus-daemon",
        {"--config-file=" + busConfig.fileName(), "--nofork", "--nopidfile", "--print-address=1"});
    if (address_.isEmpty()) return;
    environment_.insert("DBUS_SESSION_BUS_ADDRESS", address_);
    connection_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address_, kConnectionName));
  }
  ~NotificationDesktop() {
    End(server_);
    connection_.reset();
    QDBusConnection::disconnectFromBus(kConnectionName);
    End(bus_);
    End(display_);
  }

  bool started() const { return connection_ && connection_->isConnected(); }
  QDBusConnection bus() const { return *connection_; }

  /// Starts dunst, its notifications kept up until closed; true once it serves the bus.
  bool StartServer() {
    if (!config_.isValid()) return false;
    const QString config = config_.filePath("dunstrc");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write("[urgency_normal]\ntimeout = 0\n");
    file.close();
    server_.setProcessEnvironment(environment_);
    server_.start("/usr/bin/dunst", {"-config", config});
    return QTest::qWaitFor([this] { return connection_->interface()->isServiceRegistered(kServer).value(); },
                           kWaitMs);
  }

  /// Runs dunstctl with `arguments`; its output.
  QByteArray Control(const QStringList& arguments) const {
    QProcess control;
    control.setProcessEnvironment(environment_);
    control.start("/usr/bin/dunstctl", arguments);
    control.waitForFinished(kWaitMs);
    return control.readAllStandardOutput();
  }
  int Displayed() const { return Control({"count", "displayed"}).trimmed().toInt(); }
  /// The notifications closed so far, the latest first: each a map of field name to value.
  QJsonArray History() const {
    return QJsonDocument::fromJson(Control({"history"})).object().value("data").toArray().at(0).toArray();
  }

 private:
  static constexpr const char* kConnectionName = "volumetra-test-notifications";
  QTemporaryDir config_;
  QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
  QProcess display_, bus_, server_;
  QString address_;
  std::unique_ptr<QDBusConnection> connection_;
};

QString Field(const QJsonValue& notification, const char* name) {
  return notification.toObject().value(name).toObject().value("data").toVariant().toString();
}

class DbusNotificationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = Unavailable();
    if (!missing.empty()) GTEST_SKIP() << "no notification server to test against: " << missing;
    desktop = std::make_unique<NotificationDesktop>();
    ASSERT_TRUE(desktop->started()) << "no display or session bus";
    notifications =
        std::make_unique<DbusNotifications>("Volumetra", "io.github.volumetra.volumetra", desktop->bus());
  }
  void TearDown() override {
    notifications.reset();
    desktop.reset();
  }

  std::unique_ptr<NotificationDesktop> desktop;
  std::unique_ptr<DbusNotifications> notifications;
};

TEST_F(DbusNotificationsTest, ServerShowsTheTextsAndALaterOneOfTheSameDriveReplacesIt) {
  ASSERT_TRUE(desktop->StartServer());
  notifications->Notify({'D', "Low disk space on D: (Tom & Jerry)", "95 MB free of 256 GB\n/media/<data>"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return desktop->Displayed() == 1; }, kWaitMs));
  // The first one's id must have come back before the replacement names it.
  QTest::qWait(200);
  notifications->Notify({'D', "Low disk space on D: (Tom & Jerry)", "80 MB free of 256 GB\n/media/<data>"});
  notifications->Notify({'E', "Low disk space on E:", "1.5 MB free of 2 GB"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return desktop->Displayed() == 2; }, kWaitMs));
  QTest::qWait(500);
  EXPECT_EQ(desktop->Displayed(), 2);

  desktop->Control({"close-all"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return desktop->History().size() == 2; }, kWaitMs));
  const QJsonArray history = desktop->History();
  EXPECT_EQ(Field(history[1], "appname"), "Volumetra");
  EXPECT_EQ(Field(history[1], "summary"), "Low disk space on D: (Tom & Jerry)");
  EXPECT_EQ(Field(history[1], "body"), "80 MB free of 256 GB\n/media/<data>");
  EXPECT_EQ(Field(history[0], "summary"), "Low disk space on E:");
  EXPECT_EQ(Field(history[0], "body"), "1.5 MB free of 2 GB");
}

TEST_F(DbusNotificationsTest, ClickOnTheNotificationRunsTheClickHandler) {
  ASSERT_TRUE(desktop->StartServer());
  int clicks = 0;
  notifications->setOnClicked([&clicks] { ++clicks; });
  notifications->Notify({'D', "Low disk space on D:", "95 MB free of 256 GB"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return desktop->Displayed() == 1; }, kWaitMs));
  QTest::qWait(200);
  desktop->Control({"action", "0"});
  EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, kWaitMs));
}

TEST_F(DbusNotificationsTest, WithoutAServerNothingIsShownAndTheNextOneAsksAgain) {
  int clicks = 0;
  notifications->setOnClicked([&clicks] { ++clicks; });
  notifications->Notify({'D', "Low disk space on D:", "95 MB free of 256 GB"});
  QTest::qWait(500);  // the bus answers that nobody serves the name
  ASSERT_TRUE(desktop->StartServer());
  QTest::qWait(500);
  EXPECT_EQ(desktop->Displayed(), 0);
  notifications->Notify({'E', "Low disk space on E:", "40 MB free of 2 GB"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return desktop->Displayed() == 1; }, kWaitMs));
  desktop->Control({"close-all"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return desktop->History().size() == 1; }, kWaitMs));
  EXPECT_EQ(Field(desktop->History()[0], "summary"), "Low disk space on E:");
  EXPECT_EQ(clicks, 0);
}

}  // namespace
}  // namespace volumetra
