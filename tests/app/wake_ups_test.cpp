// How the program's timers keep their rhythm while they share wake-ups of the event loop and idle
// when their ticks would change nothing, as on the desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "app/form1.h"
#include "platform/timer_schedule.h"
#include "support/fake_machine.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

struct WakeUpsTest : ::testing::Test {
  FakeMachine machine{kDesktopMaxLateMs};
  Program& p = *machine.program;

  void SetUp() override {
    machine.volumes.add('C', 10000, 2500, "SYSTEM");
    machine.volumes.add('D', 20000, 15000, "DATA");
    machine.start();
    machine.advance(2000);  // the dialog has chosen the log interval, the grid refresh is at 10 s
  }
  /// Records when `timer` ticks from now on.
  std::vector<std::int64_t>& record(Timer& timer) {
    std::vector<std::int64_t>& ticks = ticksOf_[&timer];
    timer.onTimer = [&ticks, &loop = machine.loop, handler = timer.onTimer] {
      ticks.push_back(loop.now());
      handler();
    };
    return ticks;
  }
  std::int64_t wakeUpsOver(std::int64_t milliseconds) {
    const std::int64_t before = machine.loop.wakeUps();
    machine.advance(milliseconds);
    return machine.loop.wakeUps() - before;
  }

 private:
  std::map<const Timer*, std::vector<std::int64_t>> ticksOf_;
};

TEST_F(WakeUpsTest, AtRestTheProgramWakesTwiceASecondAndSurveysEvery501Ms) {
  const std::vector<std::int64_t>& surveys = record(p.form1().Timer1);
  // Surveys and housekeeping share a wake-up; the grid refresh and the reset may come on their own.
  EXPECT_LE(wakeUpsOver(60000), 120 + 6 + 1);
  ASSERT_GE(surveys.size(), 60000u / 526);
  for (std::size_t i = 1; i < surveys.size(); ++i) {
    EXPECT_GE(surveys[i] - surveys[i - 1], 501) << i;  // never early: the slider's value + 1
    EXPECT_LE(surveys[i] - surveys[i - 1], 501 + 25) << i;
  }
}

TEST_F(WakeUpsTest, LoggingSwitchedOnWritesOnTheLogTimersOwnRhythm) {
  Timer& logTimer = p.form1().Timer4;
  ASSERT_TRUE(logTimer.idle());                              // logging is off: its ticks would change nothing
  const std::int64_t beat = machine.loop.nextDue(logTimer);  // a tick of its rhythm, now past
  const std::int64_t interval = logTimer.interval();
  ASSERT_GT(interval, 0);
  machine.advance(60000 + 137);
  p.form3().Check1.Click();
  // The next tick comes when it would have come had the timer never stopped, not one interval on.
  const std::int64_t now = machine.loop.now();
  const std::int64_t expected = beat + (now - beat + interval - 1) / interval * interval;
  EXPECT_EQ(machine.loop.nextDue(logTimer), expected);
  const std::vector<std::int64_t>& ticks = record(logTimer);
  machine.advance(expected - now + 25);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_GE(ticks[0], expected);
  EXPECT_TRUE(p.m.LogDue || FakeMachine::read(p.m.ReportFileDir + p.m.ReportFileName).size() > 0);
}

TEST_F(WakeUpsTest, TheOptionsDialogsTimerTicksOnItsQuarterSecondBeats) {
  Form3& options = p.form3();
  const std::vector<std::int64_t>& ticks = record(options.Timer2);
  machine.advance(10345);
  options.Check1.Click();  // a change the dialog's timer must follow
  machine.advance(3000);
  options.Check7.Click();
  machine.advance(3000);
  ASSERT_GE(ticks.size(), 2u);
  // The dialog was made at start-up, so its beats fall on multiples of 250 ms, ticks at most 5 %
  // late to share a wake-up.
  for (std::int64_t tick : ticks) EXPECT_LE(tick % 250, 12) << tick;
  EXPECT_EQ(p.form1().Timer4.interval(), 60000);
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
