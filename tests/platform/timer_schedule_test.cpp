// Timers sharing wake-ups of the event loop, on the virtual clock.
#include "platform/timer_schedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "support/headless/virtual_event_loop.h"

namespace volumetra {
namespace {

struct TickLog {
  std::map<std::string, std::vector<std::int64_t>> ticksOf;
  std::set<std::int64_t> wakeUps;
};

// The program's steady rhythm: survey and log timers at 501 ms, housekeeping at 500 ms, the options
// dialog's timer at 250 ms, started a few milliseconds apart as the program does at start-up.
TickLog RunSteadyRhythm(std::int64_t maxLateMs, std::int64_t milliseconds) {
  VirtualEventLoop loop(maxLateMs);
  TickLog log;
  std::vector<std::unique_ptr<Timer>> timers;
  const auto add = [&](const char* name, int interval) {
    timers.push_back(std::make_unique<Timer>(loop, name, interval));
    timers.back()->onTimer = [&log, &loop, name] {
      log.ticksOf[name].push_back(loop.now());
      log.wakeUps.insert(loop.now());
    };
  };
  add("survey", 501);
  add("housekeeping", 500);
  loop.advance(3);
  add("log", 501);
  loop.advance(4);
  add("dialog", 250);
  loop.advance(milliseconds);
  return log;
}

TEST(TimerSchedule, TicksNeverComeEarlyAndAtMostFivePercentLateToShareWakeUps) {
  const TickLog shared = RunSteadyRhythm(kDesktopMaxLateMs, 60000);
  const TickLog exact = RunSteadyRhythm(0, 60000);

  // About four wake-ups a second, the dialog's pace, where ticks on their own need more.
  EXPECT_LE(shared.wakeUps.size(), 250u);
  EXPECT_GT(exact.wakeUps.size(), 480u);

  const std::map<std::string, int> intervals{
      {"survey", 501}, {"housekeeping", 500}, {"log", 501}, {"dialog", 250}};
  for (const auto& [name, interval] : intervals) {
    const std::vector<std::int64_t>& ticks = shared.ticksOf.at(name);
    ASSERT_GT(ticks.size(), 100u) << name;
    for (std::size_t i = 1; i < ticks.size(); ++i) {
      const std::int64_t gap = ticks[i] - ticks[i - 1];
      EXPECT_GE(gap, interval) << name << " tick " << i;
      EXPECT_LE(gap, interval + std::min(interval / 20, 25)) << name << " tick " << i;
    }
    // Exactly when due, each tick comes one interval after the one before.
    const std::vector<std::int64_t>& onTime = exact.ticksOf.at(name);
    for (std::size_t i = 1; i < onTime.size(); ++i) EXPECT_EQ(onTime[i] - onTime[i - 1], interval) << name;
  }
}

TEST(TimerSchedule, TimerOnItsOwnComesExactlyOnTime) {
  VirtualEventLoop loop(kDesktopMaxLateMs);
  std::vector<std::int64_t> resets;
  std::vector<std::int64_t> surveys;
  Timer reset(loop, "reset", 65535);
  Timer survey(loop, "survey", 2001);
  reset.onTimer = [&] { resets.push_back(loop.now()); };
  survey.onTimer = [&] { surveys.push_back(loop.now()); };
  loop.advance(140000);
  // The reset tick falls at most 25 ms before a survey only by chance; here it does not.
  EXPECT_EQ(resets, (std::vector<std::int64_t>{65535, 131070}));
  ASSERT_EQ(surveys.size(), 69u);
  EXPECT_EQ(surveys.back(), 69 * 2001);
}

TEST(TimerSchedule, TimerRestartedByAnEarlierTickOfTheSameWakeUpWaitsItsNewInterval) {
  VirtualEventLoop loop(kDesktopMaxLateMs);
  std::vector<std::int64_t> logTicks;
  Timer dialog(loop, "dialog", 500);
  Timer logTimer(loop, "log", 500);
  dialog.onTimer = [&] { logTimer.setInterval(300); };
  logTimer.onTimer = [&] { logTicks.push_back(loop.now()); };
  loop.advance(1000);
  EXPECT_EQ(logTicks, (std::vector<std::int64_t>{800}));
}

TEST(TimerSchedule, IdleTimerNeitherTicksNorWakesButKeepsItsPhaseWhenWoken) {
  VirtualEventLoop loop(kDesktopMaxLateMs);
  std::vector<std::int64_t> dialogTicks;
  Timer survey(loop, "survey", 500);
  Timer dialog(loop, "dialog", 250);
  survey.onTimer = [] {};
  dialog.onTimer = [&] {
    dialogTicks.push_back(loop.now());
    dialog.setIdle(true);  // nothing changed
  };
  loop.advance(2000);
  EXPECT_EQ(dialogTicks, (std::vector<std::int64_t>{250}));
  EXPECT_EQ(loop.wakeUps(), 5);  // the survey's four and the dialog's one tick

  loop.advance(120);
  dialog.setIdle(false);  // a box changed at 2120: the next tick comes on the 250 ms rhythm
  EXPECT_EQ(loop.nextDue(dialog), 2250);
  loop.advance(1000);
  EXPECT_EQ(dialogTicks, (std::vector<std::int64_t>{250, 2250}));

  // Woken exactly on a beat, it ticks at once.
  loop.advance(250 - loop.now() % 250);
  dialog.setIdle(false);
  EXPECT_EQ(loop.nextDue(dialog), loop.now());
}

TEST(TimerSchedule, HandlerSlowerThanItsIntervalFiresOncePerWakeUp) {
  VirtualEventLoop loop(kDesktopMaxLateMs);
  std::vector<std::int64_t> ticks;
  Timer slow(loop, "slow", 100);
  slow.onTimer = [&] {
    ticks.push_back(loop.now());
    loop.spend(150);
  };
  loop.advance(600);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 250, 400, 550}));
}

}  // namespace
}  // namespace volumetra
