// Program timers on real Qt timers.
#include "platform/qt/qt_timer_host.h"

#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

constexpr int kPatienceMs = 5000;

TEST(QtTimerHost, ActiveTimerTicksAndIntervalZeroStopsIt) {
  EnsureQtApplication();
  QtTimerHost host;
  Timer timer(host, "Timer1", 1);
  int ticks = 0;
  timer.onTimer = [&] { ++ticks; };
  EXPECT_TRUE(host.running(timer));
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, kPatienceMs));

  timer.setInterval(0);
  EXPECT_FALSE(host.running(timer));
  timer.setInterval(1);
  timer.setEnabled(false);
  EXPECT_FALSE(host.running(timer));
  timer.setEnabled(true);
  EXPECT_TRUE(host.running(timer));
}

TEST(QtTimerHost, TimerRemovedInsideItsOwnTickFiresNoMore) {
  EnsureQtApplication();
  QtTimerHost host;
  auto doomed = std::make_unique<Timer>(host, "Timer2", 1);
  Timer witness(host, "Timer3", 5);
  int doomedTicks = 0;
  int witnessTicks = 0;
  doomed->onTimer = [&] {
    ++doomedTicks;
    doomed.reset();
  };
  witness.onTimer = [&] { ++witnessTicks; };
  EXPECT_TRUE(QTest::qWaitFor([&] { return witnessTicks >= 3; }, kPatienceMs));
  EXPECT_EQ(doomedTicks, 1);
}

}  // namespace
}  // namespace volumetra
