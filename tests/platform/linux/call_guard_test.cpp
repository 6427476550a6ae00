#include <gtest/gtest.h>

#include "platform/linux/fake_system_calls.h"
#include "platform/linux/hanging_call.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;
using Outcome = HangingCallGuard::Outcome;

constexpr std::chrono::milliseconds kLimit = 5000ms;

HangingCall Stat(const std::string& path) {
  return {HangingCall::Kind::StatFileSystem, path};
}

class CallGuardTest : public ::testing::Test {
 protected:
  CallGuardTest() {
    for (int i = 0; i < 21; ++i) system.fileSystems[Path(i)].totalBlocks = 1000u + static_cast<unsigned>(i);
  }

  static std::string Path(int i) { return "/mnt/" + std::to_string(i); }

  Outcome Ask(int i, bool reask = false) {
    result = HangingCallResult{};
    return guard.Ask(Path(i), Stat(Path(i)), reask, result);
  }

  /// Virtual time spent since the last call of Elapsed.
  std::chrono::nanoseconds Elapsed() {
    const auto now = system.now();
    const auto elapsed = now - mark;
    mark = now;
    return elapsed;
  }

  FakeSystemCalls system;
  HangingCallGuard guard{[this](const std::string& key) { return system.OpenCallChannel(key); }, kLimit,
                         system.Clock()};
  HangingCallResult result;
  FakeSystemCalls::TimePoint mark = system.now();
};

TEST_F(CallGuardTest, AsksOnOneChannelPerKeyAndWaitsOnlyAsLongAsTheCallTakes) {
  system.latency[Path(1)] = 30ms;
  EXPECT_EQ(Ask(1), Outcome::Done);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.stats.totalBlocks, 1001u);
  EXPECT_EQ(Elapsed(), 30ms);
  EXPECT_EQ(Ask(1), Outcome::Done);
  EXPECT_EQ(guard.ChannelsOpened(), 1);
  EXPECT_EQ(Ask(2), Outcome::Done);
  EXPECT_EQ(guard.ChannelsOpened(), 2);

  system.fileSystems.erase(Path(2));
  EXPECT_EQ(Ask(2), Outcome::Done);  // came back, with a failure
  EXPECT_FALSE(result.ok);
}

TEST_F(CallGuardTest, CallsStartedAheadAreWaitedForTogether) {
  for (const int dead : {1, 4, 20}) {
    SCOPED_TRACE(dead);
    FakeSystemCalls machine;
    HangingCallGuard together{[&](const std::string& key) { return machine.OpenCallChannel(key); }, kLimit,
                              machine.Clock()};
    for (int i = 0; i <= dead; ++i) machine.fileSystems[Path(i)] = {};
    for (int i = 1; i <= dead; ++i) machine.Hang(Path(i));
    machine.latency[Path(0)] = 20ms;  // a live server among the dead ones
    const auto start = machine.now();
    for (int i = 0; i <= dead; ++i) together.StartAhead(Path(i), Stat(Path(i)), false);
    for (int i = dead; i >= 0; --i) {
      HangingCallResult answer;
      EXPECT_EQ(together.Ask(Path(i), Stat(Path(i)), false, answer),
                i == 0 ? Outcome::Done : Outcome::NoAnswer);
    }
    EXPECT_EQ(machine.now() - start, kLimit);  // one wait in all, not one per dead server
    EXPECT_EQ(together.StuckKeys(), dead);
    machine.Release();
  }
}

TEST_F(CallGuardTest, AStuckKeyIsRefusedAtOnceUntilItsCallComesBack) {
  system.Hang(Path(3));
  EXPECT_EQ(Ask(3), Outcome::NoAnswer);
  EXPECT_EQ(Elapsed(), kLimit);
  for (const bool reask : {false, true}) {
    EXPECT_EQ(Ask(3, reask), Outcome::NoAnswer);
    guard.StartAhead(Path(3), Stat(Path(3)), reask);
    EXPECT_EQ(guard.Admit(Path(3), reask), Outcome::NoAnswer);
  }
  EXPECT_EQ(Elapsed(), 0ms);
  EXPECT_EQ(system.StatCallsOf(Path(3)), 1);  // nothing more started
  EXPECT_EQ(guard.StuckKeys(), 1);
  EXPECT_EQ(Ask(4), Outcome::Done);  // other keys do not wait for it

  system.Release(Path(3));
  EXPECT_EQ(guard.StuckKeys(), 0);
  EXPECT_EQ(Ask(3, true), Outcome::Done);
  EXPECT_EQ(system.StatCallsOf(Path(3)), 2);
  EXPECT_EQ(guard.footprint().calls, 0u);
}

// A question with a time of its own stops waiting then, but leaves the call out: the next question
// of the same call, in a later round too, collects it, waiting only until the call's own deadline.
TEST_F(CallGuardTest, ACallNotBackByTheQuestionsOwnTimeIsCollectedByTheNextQuestion) {
  system.Hang(Path(5));
  system.latency[Path(6)] = 400ms;
  const auto start = system.now();
  guard.StartAhead(Path(5), Stat(Path(5)), false);
  guard.StartAhead(Path(6), Stat(Path(6)), false);
  const auto until = start + 250ms;
  EXPECT_EQ(guard.Ask(Path(5), Stat(Path(5)), false, result, until), Outcome::Pending);
  EXPECT_EQ(guard.Ask(Path(6), Stat(Path(6)), false, result, until), Outcome::Pending);
  EXPECT_EQ(Elapsed(), 250ms);  // one wait for both
  EXPECT_EQ(guard.StuckKeys(), 0);

  // A new round that keeps both keys' calls: the slow one is collected with its answer, the dead
  // one runs out of time one limit after it started.
  guard.DropAhead({Path(5), Path(6)});
  EXPECT_EQ(Ask(6), Outcome::Done);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.stats.totalBlocks, 1006u);
  EXPECT_EQ(Ask(5), Outcome::NoAnswer);
  EXPECT_EQ(system.now() - start, kLimit);
  EXPECT_EQ(system.StatCallsOf(Path(5)), 1);
  EXPECT_EQ(system.StatCallsOf(Path(6)), 1);
  EXPECT_EQ(guard.StuckKeys(), 1);
  system.Release(Path(5));
}

// A time of its own later than the deadline changes nothing.
TEST_F(CallGuardTest, AQuestionsOwnTimeBeyondTheDeadlineWaitsOnlyUntilTheDeadline) {
  system.Hang(Path(7));
  EXPECT_EQ(guard.Ask(Path(7), Stat(Path(7)), false, result, system.now() + 2 * kLimit), Outcome::NoAnswer);
  EXPECT_EQ(Elapsed(), kLimit);
  system.Release(Path(7));
}

TEST_F(CallGuardTest, AQuietKeyIsAskedAgainAndWaitedForOnlyWhenReasked) {
  system.latency[Path(5)] = 6000ms;  // a slow server: it answers, but too late
  EXPECT_EQ(Ask(5), Outcome::NoAnswer);
  system.spend(1s);  // its call comes back meanwhile
  ASSERT_EQ(guard.StuckKeys(), 0);
  Elapsed();

  EXPECT_EQ(Ask(5), Outcome::Declined);
  guard.StartAhead(Path(5), Stat(Path(5)), false);
  EXPECT_EQ(guard.Admit(Path(5), false), Outcome::Declined);
  EXPECT_EQ(Elapsed(), 0ms);
  EXPECT_EQ(system.StatCallsOf(Path(5)), 1);

  EXPECT_EQ(Ask(5, true), Outcome::NoAnswer);  // still slow: one more wait
  EXPECT_EQ(Elapsed(), kLimit);
  system.spend(1s);
  system.latency[Path(5)] = 10ms;
  EXPECT_EQ(guard.Admit(Path(5), true), Outcome::Done);
  EXPECT_EQ(Ask(5, true), Outcome::Done);
  EXPECT_EQ(Ask(5), Outcome::Done);  // answered in time: no longer quiet
}

TEST_F(CallGuardTest, CallsGivenUpAreLeftToFinishAndForgotten) {
  system.Hang(Path(6));
  guard.StartAhead(Path(6), Stat(Path(6)), false);
  guard.StartAhead(Path(7), Stat(Path(7)), false);
  guard.StartAhead(Path(7), Stat(Path(7)), false);  // started already
  EXPECT_EQ(guard.footprint().calls, 2u);
  guard.DropAhead();
  EXPECT_EQ(guard.footprint().calls, 1u);  // the answered one is forgotten at once
  EXPECT_EQ(guard.StuckKeys(), 0);         // not stuck before its deadline
  system.spend(kLimit);
  EXPECT_EQ(guard.StuckKeys(), 1);
  system.Release(Path(6));
  EXPECT_EQ(guard.StuckKeys(), 0);
  EXPECT_EQ(guard.footprint().calls, 0u);
  EXPECT_EQ(Ask(6), Outcome::Done);  // never timed out, so not quiet
}

TEST_F(CallGuardTest, RetiredKeysCloseTheirChannels) {
  system.Hang(Path(8));
  EXPECT_EQ(Ask(8), Outcome::NoAnswer);
  EXPECT_EQ(Ask(9), Outcome::Done);
  EXPECT_EQ(system.OpenChannels(), 2);
  guard.RetireAllBut({Path(9)});
  EXPECT_EQ(system.OpenChannels(), 1);
  EXPECT_EQ(guard.footprint().keys, 1u);
  EXPECT_EQ(guard.Admit(Path(8), false), Outcome::Done);  // a new mount at that place starts afresh
  EXPECT_EQ(guard.footprint().keys, 1u);
}

// A channel whose helper ends after its first answer.
class OneAnswerChannel : public HangingCallChannel {
 public:
  bool Start(const HangingCall& call) override {
    calls_.push_back(call);
    return true;
  }
  std::optional<HangingCallResult> Collect(TimePoint) override {
    if (calls_.empty()) return std::nullopt;
    HangingCallResult result;
    result.kind = calls_.front().kind;
    result.ok = answered_++ == 0;
    result.lost = !result.ok;
    calls_.erase(calls_.begin());
    return result;
  }

 private:
  std::vector<HangingCall> calls_;
  int answered_ = 0;
};

TEST(HangingCallGuard, ALostChannelFailsItsCallsAndIsOpenedAnew) {
  int opened = 0;
  HangingCallGuard guard{[&] {
                           ++opened;
                           return std::make_unique<OneAnswerChannel>();
                         },
                         kLimit, std::chrono::steady_clock::now};
  HangingCallResult result;
  EXPECT_EQ(guard.Ask("k", Stat("/"), false, result), Outcome::Done);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(guard.Ask("k", Stat("/"), false, result), Outcome::Done);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.lost);
  EXPECT_EQ(guard.Ask("k", Stat("/"), false, result), Outcome::Done);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(opened, 2);

  HangingCallGuard none{[] { return std::unique_ptr<HangingCallChannel>(); }, kLimit,
                        std::chrono::steady_clock::now};
  EXPECT_EQ(none.Ask("k", Stat("/"), false, result), Outcome::Done);  // no channel: a failure
  EXPECT_FALSE(result.ok);
}

}  // namespace
}  // namespace volumetra
