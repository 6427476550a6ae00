#include "platform/win32/win32_timer_host.h"

#include <gtest/gtest.h>

#include <chrono>

namespace volumetra {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Runs the message loop for `duration`, as the program's loop runs it; the timer messages that
// woke it are counted in `wakeUps`.
void Pump(std::chrono::milliseconds duration, int* wakeUps = nullptr) {
  const auto end = Clock::now() + duration;
  while (Clock::now() < end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::max<std::int64_t>(left.count(), 0)),
                              QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (wakeUps && message.message == WM_TIMER) ++*wakeUps;
      DispatchMessageA(&message);
    }
  }
}

TEST(Win32TimerHost, TicksOnTheMessageLoopAndStopsAtIntervalZero) {
  Win32TimerHost host;
  int ticks = 0;
  Timer timer(host, "Timer1", 50);
  timer.onTimer = [&] { ++ticks; };
  EXPECT_TRUE(host.running(timer));
  Pump(400ms);
  EXPECT_GE(ticks, 4);
  EXPECT_LE(ticks, 9);
  timer.setInterval(0);
  EXPECT_FALSE(host.running(timer));
  const int stopped = ticks;
  Pump(200ms);
  EXPECT_EQ(ticks, stopped);
  timer.setInterval(50);
  timer.setEnabled(false);
  Pump(200ms);
  EXPECT_EQ(ticks, stopped);
}

TEST(Win32TimerHost, AChangeOfIntervalRestartsTheCountdown) {
  Win32TimerHost host;
  int ticks = 0;
  Timer timer(host, "Timer1", 150);
  timer.onTimer = [&] { ++ticks; };
  for (int i = 0; i < 5; ++i) {
    Pump(100ms);
    timer.setInterval(i % 2 ? 150 : 151);  // each change starts the 150 ms again
  }
  EXPECT_EQ(ticks, 0);
  Pump(250ms);
  EXPECT_GE(ticks, 1);
}

TEST(Win32TimerHost, TicksMissedWhileAHandlerRunsComeAsOneAndNeverOverlap) {
  Win32TimerHost host;
  int slowTicks = 0, fastTicks = 0, depth = 0, deepest = 0;
  Timer fast(host, "fast", 20);
  Timer slow(host, "slow", 30);
  fast.onTimer = [&] {
    ++fastTicks;
    deepest = std::max(deepest, ++depth);
    --depth;
  };
  slow.onTimer = [&] {
    ++slowTicks;
    deepest = std::max(deepest, ++depth);
    if (slowTicks == 1) {
      Sleep(300);   // 15 ticks of `fast` fall due meanwhile
      Pump(100ms);  // a handler that runs the loop itself: no tick runs inside it
    }
    --depth;
  };
  Pump(500ms);
  EXPECT_EQ(deepest, 1);
  EXPECT_GE(slowTicks, 2);
  // 500 ms at 20 ms would be 25 ticks; the 400 ms spent in the handler brought at most one.
  EXPECT_LE(fastTicks, 10);
  EXPECT_GE(fastTicks, 2);
}

TEST(Win32TimerHost, AnIdleTimerKeepsItsRhythmWithoutTickingAndARemovedOneNeverTicks) {
  Win32TimerHost host;
  int ticks = 0;
  auto timer = std::make_unique<Timer>(host, "Timer4", 30);
  timer->onTimer = [&] {
    ++ticks;
    timer->setIdle(true);
  };
  Pump(200ms);
  EXPECT_EQ(ticks, 1);
  EXPECT_TRUE(host.running(*timer));  // it keeps its phase
  EXPECT_FALSE(host.armed());         // but wakes nothing
  timer->setIdle(false);
  Pump(100ms);
  EXPECT_EQ(ticks, 2);
  timer->setIdle(false);
  timer->onTimer = [&] { ++ticks; };
  timer.reset();
  Pump(100ms);
  EXPECT_EQ(ticks, 2);
}

TEST(Win32TimerHost, TimersDueTogetherShareOneWakeUpAndIdleOnesWakeNothing) {
  Win32TimerHost host;
  int survey = 0, housekeeping = 0, idle = 0;
  Timer timer1(host, "Timer1", 100);
  Timer timer3(host, "Timer3", 100);
  Timer options(host, "Timer2", 25);
  timer1.onTimer = [&] { ++survey; };
  timer3.onTimer = [&] { ++housekeeping; };
  options.onTimer = [&] {
    ++idle;
    options.setIdle(true);  // its ticks would change nothing
  };
  int wakeUps = 0;
  Pump(1000ms, &wakeUps);
  EXPECT_GE(survey, 7);
  EXPECT_LE(survey, 10);
  EXPECT_GE(housekeeping, survey - 1);
  EXPECT_EQ(idle, 1);
  // One wake-up for both 100 ms timers and one for the idle timer's only tick, where timers of
  // their own would have woken the loop about 60 times.
  EXPECT_LE(wakeUps, survey + 3);
}

}  // namespace
}  // namespace volumetra
