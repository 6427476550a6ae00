// The whole program over the Windows volume services of a scripted machine whose network drives
// die and come back: one wait for any number of dead servers, the time-out reset, the marks and
// what the window shows.
#include <gtest/gtest.h>

#include "app/form1.h"
#include "platform/win32/fake_volume_calls.h"
#include "platform/win32/win32_volumes.h"
#include "support/machine/test_machine.h"
#include "support/server_outages.h"
#include "support/share_outage_cases.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;
using namespace outages;

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
/// How long a drive refresh waits for the drives' calls in all.
const std::chrono::milliseconds kPatience = Win32VolumesOptions{}.discoveryPatience;

FakeVolumeCalls::Drive Disk(std::uint32_t type, std::uint64_t total, const char* label) {
  FakeVolumeCalls::Drive d;
  d.type = type;
  d.information = VolumeInformation{label, 0x1234, 255, 0x2F, "NTFS"};
  d.geometry = DiskGeometry{8, 512, static_cast<std::uint32_t>(total / 8192),
                            static_cast<std::uint32_t>(total / 4096)};
  d.bytes = DiskBytes{total / 2, total};
  return d;
}

/// How the scripted machine of DeadSharesTest starts.
struct Machine {
  int shares = 1;
  /// The shares' servers are dead before the program starts.
  bool deadAtStart = false;
  /// The settings file's text before the start.
  std::string settings;
};

/// The scripted calls, there before the machine that runs over them.
struct ScriptedCalls {
  std::shared_ptr<FakeVolumeCalls> calls = std::make_shared<FakeVolumeCalls>();
};

/// The program, headless, over Win32Volumes on scripted calls: C a local disk, the shares from S
/// on network drives of 100 GB each. The calls' virtual clock is the event loop's, so a wait for
/// a dead server holds up the loop as a real one holds up the window.
class DeadSharesTest : public ::testing::Test, protected ScriptedCalls, protected TestMachine<Win32Volumes> {
 protected:
  static constexpr char kShare = 'S';

  explicit DeadSharesTest(Machine machine = {})
      : TestMachine({.platform = "Windows"}, [this](VirtualEventLoop&) {
          return Win32Volumes(calls, {.callLimit = kLimit, .clock = calls->Clock(), .openChannel = [this] {
                                        return calls->OpenChannel();
                                      }});
        }) {
    calls->set('C', Disk(3, 200 * kGiB, "SYSTEM"));
    for (int i = 0; i < machine.shares; ++i)
      calls->set(static_cast<char>(kShare + i), Disk(4, 100'000 * 1048576ull, "SHARE"));
    calls->now = [this] { return FakeVolumeCalls::TimePoint{} + std::chrono::milliseconds(loop.now()); };
    calls->spend = [this](std::chrono::nanoseconds time) {
      loop.spend(std::chrono::ceil<std::chrono::milliseconds>(time).count());
    };
    if (machine.deadAtStart) {
      for (int i = 0; i < machine.shares; ++i) Die(static_cast<char>(kShare + i));
    }
    writeSettings(machine.settings);
    start();
    startTook = loop.now();
    if (!machine.deadAtStart) loop.advance(1000);
  }
  ~DeadSharesTest() override { calls->release(); }

  void Die(char letter) {
    FakeVolumeCalls::Drive dead = Disk(4, 100'000 * 1048576ull, "SHARE");
    dead.hangs = true;
    calls->set(letter, dead);
  }
  const DriveRec& Record(char letter = kShare) { return program->m.DriveRecs[rowOf(letter) + 1]; }
  std::string TotalCell(char letter = kShare) {
    return program->form1().Label5[static_cast<std::size_t>(rowOf(letter))]->caption();
  }
  bool TimedOut(char letter = kShare) { return program->m.TimedOutLetters.find(letter) != std::string::npos; }

  /// Virtual milliseconds the start took, until the window showed.
  std::int64_t startTook = 0;
  WatchedShare watched{loop, *program, kShare};
  const ShareServer server{.die = [this] { Die(kShare); },
                           .answerAgain =
                               [this] {
                                 calls->set(kShare, Disk(4, 100'000 * 1048576ull, "SHARE"));
                                 calls->release();
                               },
                           .timeWaited = [this] { return calls->TimeWaited(); }};
};

TEST_F(DeadSharesTest, ADeadServerKeepsSayingTimeoutWithItsLastValuesAndNeverHoldsTheWindowAgain) {
  DeadServerKeepsSayingTimeoutWithItsLastValues(watched, server);
}

TEST_F(DeadSharesTest, AServerDeadAtDiscoveryIsMarkedAndTheWindowClosesWithoutWaitingForIt) {
  ASSERT_GE(rowOf(kShare), 0);
  // With the survey stopped, a refresh of the drive table is the first to meet the dead server: its
  // calls for the drive, the type call too, hang. The refresh waits for them only briefly; the
  // survey, started again after the call ran out of time, finds it so without waiting.
  program->form1().Command1.Click();
  Die(kShare);
  loop.advance(10'000 + kLimit.count());
  EXPECT_EQ(calls->TimeWaited(), kPatience);
  EXPECT_GE(rowOf(kShare), 0) << "a silent share keeps its row";
  program->form1().Command1.Click();
  loop.advance(2 * kSurvey);
  EXPECT_TRUE(TimedOut());
  EXPECT_EQ(Record().TimeoutMark, "T O");
  EXPECT_EQ(TotalCell(), "timeout");
  loop.advance(2 * kReset);
  EXPECT_EQ(calls->TimeWaited(), kPatience);
  EXPECT_EQ(TotalCell(), "timeout");

  program->Unload(program->form1());
  EXPECT_TRUE(program->Ended());
  EXPECT_EQ(calls->TimeWaited(), kPatience);
  EXPECT_NE(read(dir.path() / "volumetra.ini").find("Window1XPos="), std::string::npos);
}

class ShareBackTest : public DeadSharesTest, public ::testing::WithParamInterface<Outage> {};

TEST_P(ShareBackTest, TheDriveIsBackWithinOneResetPeriodOfTheServerAnsweringAgain) {
  ShareIsBackWithinOneResetPeriod(watched, server, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Phases, ShareBackTest, ::testing::ValuesIn(outages::kPhases));

class FourDeadSharesTest : public DeadSharesTest {
 protected:
  FourDeadSharesTest() : DeadSharesTest({.shares = 4, .deadAtStart = false, .settings = ""}) {}
};

TEST_F(FourDeadSharesTest, FourServersDyingTogetherHoldTheWindowOnceInAll) {
  for (char letter : std::string("STUV")) ASSERT_GE(rowOf(letter), 0) << letter;
  for (char letter : std::string("STUV")) Die(letter);
  loop.advance(kSurvey);
  EXPECT_EQ(calls->TimeWaited(), kLimit);
  for (char letter : std::string("STUV")) EXPECT_TRUE(TimedOut(letter)) << letter;
  loop.advance(3 * kReset);
  EXPECT_EQ(calls->TimeWaited(), kLimit);
  for (char letter : std::string("STUV")) EXPECT_EQ(TotalCell(letter), "timeout") << letter;
  EXPECT_EQ(TotalCell('C'), program->form1().Label5[0]->caption());
  EXPECT_NE(TotalCell('C'), "timeout");
}

/// Three shares whose servers are dead before the program starts; with an exclusion on, drive
/// discovery probes every drive before it judges them.
class SharesDeadAtStartTest : public DeadSharesTest, public ::testing::WithParamInterface<bool> {
 protected:
  SharesDeadAtStartTest()
      : DeadSharesTest({.shares = 3,
                        .deadAtStart = true,
                        .settings = GetParam() ? "[System]\nExcludeDoubleMappings=True\n" : ""}) {}
  std::string Cell(const std::vector<Control*>& column, char letter) {
    return column[static_cast<std::size_t>(rowOf(letter))]->caption();
  }
};

TEST_P(SharesDeadAtStartTest, TheWindowComesUpAtOnceAndTheFirstSurveyShowsTheSharesAsTimedOut) {
  const Form1& f = program->form1();
  EXPECT_TRUE(f.visible());
  EXPECT_LE(startTook, kPatience.count()) << "the start-up waited for the dead servers";
  EXPECT_EQ(program->m.DriveLetters, "CSTU");
  const std::chrono::nanoseconds startWait = calls->TimeWaited();

  // The first survey waits for the dead servers once, all together, until one call limit after
  // the start-up asked them.
  loop.advance(kSurvey);
  EXPECT_GT(calls->TimeWaited(), startWait);
  EXPECT_LE(calls->TimeWaited(), kLimit);
  for (char share : std::string("STU")) {
    EXPECT_EQ(Cell(f.Label2, share), std::string(1, share) + ":") << share;
    EXPECT_EQ(Cell(f.Label5, share), "timeout") << share;
    EXPECT_TRUE(TimedOut(share)) << share;
  }
  EXPECT_EQ(Cell(f.Label4, 'C'), "HD/NTFS");  // the local disk is surveyed as ever

  // The shares keep showing so, without another wait, over resets and drive refreshes.
  const std::chrono::nanoseconds firstWait = calls->TimeWaited();
  for (int reset = 0; reset < 3; ++reset) {
    loop.advance(kReset);
    for (char share : std::string("STU")) EXPECT_EQ(Cell(f.Label5, share), "timeout") << reset << share;
  }
  EXPECT_EQ(calls->TimeWaited(), firstWait) << "the window waited again";

  // Servers that answer again are back, with their file system, within one reset period.
  calls->set('S', Disk(4, 100'000 * 1048576ull, "SHARE"));
  calls->set('T', Disk(4, 100'000 * 1048576ull, "SHARE"));
  calls->set('U', Disk(4, 100'000 * 1048576ull, "SHARE"));
  calls->release();
  loop.advance(kReset + kSurvey);
  EXPECT_EQ(Cell(f.Label4, 'S'), "Net/NTFS");
  EXPECT_NE(Cell(f.Label5, 'S'), "timeout");
}

// A drive that is only slow at the start-up (a disk spinning up) is taken at once and answered by
// the first survey, without a time-out.
class SlowAtStartTest : public DeadSharesTest {
 protected:
  SlowAtStartTest() : DeadSharesTest({.shares = 1, .deadAtStart = true, .settings = ""}) {}
};

TEST_F(SlowAtStartTest, ADriveSlowAtStartIsShownByTheFirstSurvey) {
  EXPECT_LE(startTook, kPatience.count());
  ASSERT_GE(rowOf(kShare), 0) << "a drive that has not answered yet is listed";
  calls->set(kShare, Disk(4, 100'000 * 1048576ull, "SHARE"));
  calls->release();
  loop.advance(kSurvey);
  EXPECT_FALSE(TimedOut());
  EXPECT_NEAR(Record().TotalGB, 100.0, 1e-9);
  EXPECT_EQ(Record().VolumeName, "SHARE");
  EXPECT_NE(TotalCell(), "timeout");
  EXPECT_EQ(calls->TimeWaited(), std::chrono::milliseconds(startTook)) << "the survey waited";
}

INSTANTIATE_TEST_SUITE_P(Exclusions, SharesDeadAtStartTest, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "DoublesExcluded" : "NoneExcluded"; });

}  // namespace
}  // namespace volumetra
