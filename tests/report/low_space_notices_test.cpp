// The desktop notification of a drive that runs low on space, over whole surveys on the virtual
// clock: when it comes, when it comes again, and what it says.
#include "report/low_space_notices.h"

#include <gtest/gtest.h>

#include "app/form1.h"
#include "support/fake_machine.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

constexpr double kTotalMB = 256 * 1024;  // "256 GB"
constexpr std::int64_t kMinute = 60 * 1000;

class LowSpaceNotices : public ::testing::Test {
 protected:
  LowSpaceNotices() {
    machine.volumes.add('C', 100000, 50000, "SYSTEM");
    machine.volumes.add('D', kTotalMB, 5000, "DATA").description = "/media/data  (/dev/sdb1, ext4)";
  }
  void start() {
    program = &machine.start();
    options = &program->form3();
  }
  /// Sets the free space of `letter` (4096-byte clusters, 256 per MB).
  void setFree(char letter, double freeMB) {
    machine.volumes.at(letter).freeClusters = static_cast<std::int32_t>(freeMB * 256);
  }
  /// Lets `ms` pass: surveys run twice a second.
  void pass(std::int64_t ms) { machine.advance(ms); }
  const std::vector<Notification>& shown() const { return machine.notifications.shown; }

  FakeMachine machine;
  Program* program = nullptr;
  Form3* options = nullptr;
};

TEST_F(LowSpaceNotices, OneNotificationWhenADriveFallsBelowTheLimitWithAlarmColoursOn) {
  start();
  options->Check3.Click();  // alarm colours; the limit is the designed 100 MB
  pass(2000);
  EXPECT_TRUE(shown().empty());
  setFree('D', 95);
  pass(1000);
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_EQ(shown()[0].tag, 'D');
  EXPECT_EQ(shown()[0].title, "Low disk space on D: (DATA)");
  EXPECT_EQ(shown()[0].body, "95 MB free of 256 GB\n/media/data  (/dev/sdb1, ext4)");
  // The drive stays low: the alarm goes on at every survey, the notification does not.
  pass(60 * kMinute);
  EXPECT_EQ(shown().size(), 1u);
}

TEST_F(LowSpaceNotices, NoneWhileNeitherAlarmIsOnAndOneWhenTheBeepAloneIsSwitchedOn) {
  setFree('D', 50);
  start();
  pass(5000);
  EXPECT_TRUE(shown().empty());
  options->Check4.Click();  // the alarm beep alone
  pass(500);
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_EQ(shown()[0].body.substr(0, 20), "50 MB free of 256 GB");
  EXPECT_GT(machine.beep.count, 0);
}

TEST_F(LowSpaceNotices, DriveAtTheLimitOrACdDriveGivesNone) {
  setFree('D', 100);  // the alarm needs less than the limit
  machine.volumes.add('E', 700, 0, "DISC", 5, "CDFS");
  start();
  options->Check3.Click();
  pass(5000);
  EXPECT_TRUE(shown().empty());
}

TEST_F(LowSpaceNotices, DriveWhoseSpaceIsUnknownGivesNone) {
  machine.volumes.add('E', 1000, 10, "GONE").freeSpaceFails = true;
  start();
  options->Check3.Click();
  pass(5000);
  EXPECT_TRUE(shown().empty());
}

TEST_F(LowSpaceNotices, HoveringAtTheLimitWithinTheMarginNotifiesOnce) {
  start();
  options->Check3.Click();
  setFree('D', 95);
  pass(1000);
  ASSERT_EQ(shown().size(), 1u);
  // Up and down across the limit for an hour, never above 110 MB (the limit and 10 % of it).
  for (int k = 0; k < 60; ++k) {
    setFree('D', 109.9);
    pass(kMinute / 2);
    setFree('D', 99);
    pass(kMinute / 2);
  }
  EXPECT_EQ(shown().size(), 1u);
  // Clear of the margin, then low again: the next notification.
  setFree('D', 110.1);
  pass(1000);
  setFree('D', 80);
  pass(1000);
  ASSERT_EQ(shown().size(), 2u);
  EXPECT_EQ(shown()[1].body.substr(0, 20), "80 MB free of 256 GB");
}

TEST_F(LowSpaceNotices, MarginIsAtLeastOneMegabyteForSmallLimits) {
  start();
  options->Check3.Click();
  options->Text2.setText("2");  // 2 MB; a tenth of it would be 0.2 MB
  setFree('D', 1.5);
  pass(1000);
  ASSERT_EQ(shown().size(), 1u);
  setFree('D', 2.9);
  pass(1000);
  setFree('D', 1.5);
  pass(11 * kMinute);
  EXPECT_EQ(shown().size(), 1u);
  setFree('D', 3.1);
  pass(1000);
  setFree('D', 1.5);
  pass(1000);
  EXPECT_EQ(shown().size(), 2u);
}

TEST_F(LowSpaceNotices, NoMoreThanOneInTenMinutesPerDriveThenTheDueOneComes) {
  start();
  options->Check3.Click();
  setFree('D', 95);
  pass(1000);
  ASSERT_EQ(shown().size(), 1u);
  const std::int64_t firstAt = machine.loop.now();
  // Space freed and filled again twice within the ten minutes.
  for (int k = 0; k < 2; ++k) {
    setFree('D', 500);
    pass(kMinute);
    setFree('D', 90);
    pass(kMinute);
  }
  EXPECT_EQ(shown().size(), 1u);
  // Still low: the next comes with the first survey ten minutes after the first.
  pass(10 * kMinute - (machine.loop.now() - firstAt) - 1000);
  EXPECT_EQ(shown().size(), 1u);
  pass(1500);
  ASSERT_EQ(shown().size(), 2u);
  EXPECT_EQ(shown()[1].body.substr(0, 20), "90 MB free of 256 GB");
}

TEST_F(LowSpaceNotices, EachDriveIsToldOfOnItsOwn) {
  machine.volumes.add('E', 2048, 1500, "");
  start();
  options->Check3.Click();
  setFree('D', 95);
  pass(1000);
  setFree('E', 40);
  pass(1000);
  ASSERT_EQ(shown().size(), 2u);
  EXPECT_EQ(shown()[1].tag, 'E');
  EXPECT_EQ(shown()[1].title, "Low disk space on E:");  // no label, no parentheses
  EXPECT_EQ(shown()[1].body, "40 MB free of 2 GB");
  // E's gap does not hold back D, which was re-armed meanwhile.
  setFree('D', 300);
  pass(11 * kMinute);
  setFree('D', 20);
  pass(1000);
  ASSERT_EQ(shown().size(), 3u);
  EXPECT_EQ(shown()[2].tag, 'D');
}

TEST_F(LowSpaceNotices, InTheProgramsLanguageWithTheUsersDecimalSeparator) {
  machine.volumes.add('D', 9728, 60, "DATEN").description = "/media/daten";
  machine.clock.decimal = ",";
  start();
  options->Option6.Click();  // Deutsch
  options->Check3.Click();
  pass(1000);
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_EQ(shown()[0].title, "Wenig Speicherplatz auf D: (DATEN)");
  EXPECT_EQ(shown()[0].body, "60 MB frei von 9,5 GB\n/media/daten");
}

TEST_F(LowSpaceNotices, LanguagesWithoutTheTextUseEnglish) {
  setFree('D', 60);
  start();
  program->m.Language = "Suomi";
  options->Check3.Click();
  pass(1000);
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_EQ(shown()[0].title, "Low disk space on D: (DATA)");
}

TEST_F(LowSpaceNotices, ClickBringsTheMainWindowBack) {
  start();
  Form1& main = program->form1();
  main.setWindowState(WindowState::Minimized);
  options->Show();
  ASSERT_EQ(program->ActiveForm(), options);
  machine.notifications.click();
  EXPECT_EQ(main.windowState(), WindowState::Normal);
  EXPECT_TRUE(main.visible());
  EXPECT_EQ(program->ActiveForm(), &main);
}

}  // namespace
}  // namespace volumetra
