// Sends the low-space notification of a fake machine's nearly full drive to the desktop's
// notification service, as the program does, and waits while it shows, for a screenshot of it
// (scripts/notification_screenshot.sh). Usage: volumetra_notification_screenshot <language>
#include <QApplication>
#include <QTest>

#include "app/form1.h"
#include "app/program.h"
#include "platform/linux/desktop_entry.h"
#include "platform/qt/dbus_notifications.h"
#include "platform/qt/qt_window_system.h"
#include "support/machine/test_machine.h"
#include "windows/form3.h"

int main(int argc, char** argv) {
  using namespace volumetra;
  QApplication app(argc, argv);
  const std::string language = argc > 1 ? argv[1] : "English";
  DbusNotifications notifications(kWindowClass, kDesktopId);
  TestMachine<FakeVolumes, QtWindowSystem> fake({.platform = "Linux", .notifications = &notifications},
                                                ScriptedVolumes);
  fake.volumes.add('C', 250 * 1024, 71 * 1024, "root");
  fake.volumes.add('D', 256 * 1024, 95, "Backup").description = "/media/backup  (/dev/sdb1, ext4)";
  Program& program = fake.start();
  program.form1().Hide();
  if (language == "Deutsch") program.form3().Option6.Click();
  program.form3().Check3.Click();
  fake.advance(1000);
  QTest::qWait(3000);
  return 0;
}
