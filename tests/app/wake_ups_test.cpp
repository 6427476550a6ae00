// How often the program wakes the event loop when timers due close together share wake-ups and
// timers whose ticks would change nothing idle, as on the desktop.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/form1.h"
#include "platform/timer_schedule.h"
#include "support/fake_machine.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

struct WakeUpsTest : ::testing::Test {
  FakeMachine machine{kDesktopMaxEarlyMs};
  Program& p = *machine.program;

  void SetUp() override {
    machine.volumes.add('C', 10000, 2500, "SYSTEM");
    machine.volumes.add('D', 20000, 15000, "DATA");
    machine.start();
    machine.advance(2000);  // the dialog has chosen the log interval, the grid refresh is at 10 s
  }
  std::int64_t wakeUpsOver(std::int64_t milliseconds) {
    const std::int64_t before = machine.loop.wakeUps();
    machine.advance(milliseconds);
    return machine.loop.wakeUps() - before;
  }
};

TEST_F(WakeUpsTest, ProgramAtRestWakesTwiceASecondAndStillSurveysOnTime) {
  const std::int32_t surveysBefore = p.m.LoopCount;
  // Surveys and housekeeping share a wake-up; the grid refresh and the reset come on their own.
  EXPECT_LE(wakeUpsOver(60000), 120 + 6 + 1);
  EXPECT_GE(p.m.LoopCount - surveysBefore, 119);
}

TEST_F(WakeUpsTest, IdleDialogAnswersAClickWithinItsTick) {
  Form3& options = p.form3();
  options.Check1.Click();  // logging on, so the interval boxes take clicks
  machine.advance(10000);
  ASSERT_EQ(options.Check8.value(), kChecked);

  options.Check8.Click();  // a checked box cannot be cleared: the next tick checks it again
  EXPECT_EQ(options.Check8.value(), kUnchecked);
  machine.advance(250);
  EXPECT_EQ(options.Check8.value(), kChecked);

  options.Check7.Click();
  machine.advance(250);
  EXPECT_EQ(options.Check8.value(), kUnchecked);
  EXPECT_EQ(p.form1().Timer4.interval(), 60000);
}

TEST_F(WakeUpsTest, SwitchingLoggingOnAfterAQuietSpellLogsWithinTwoSurveys) {
  p.m.ReportFileDir = machine.dir.str() + "/";
  machine.advance(10000);
  p.form3().Check1.Click();
  const auto logLines = [&] {
    const std::string log = FakeMachine::read(p.m.ReportFileDir + p.m.ReportFileName);
    return std::count(log.begin(), log.end(), '\n');
  };
  machine.advance(1002);
  EXPECT_GE(logLines(), 2);  // one line per drive and log tick
  machine.advance(10000);
  EXPECT_GE(logLines(), 2 + 2 * 19);  // the log timer runs at the survey interval
}

}  // namespace
}  // namespace volumetra
