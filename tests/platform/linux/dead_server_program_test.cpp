// The whole program over the Linux volume services of a scripted machine whose network share
// dies and comes back: the time-out reset, the marks and what the window shows.
#include <gtest/gtest.h>

#include "app/form1.h"
#include "platform/linux/linux_program.h"
#include "platform/linux/mountinfo_samples.h"
#include "support/server_outages.h"
#include "support/share_outage_cases.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;
using namespace outages;

constexpr char kShare = 'E';  // /srv/share of the server sample

/// A disk of 10 million 4 KiB blocks, 4 million free.
FileSystemStats DiskStats() {
  FileSystemStats disk;
  disk.fragmentSize = disk.blockSize = 4096;
  disk.totalBlocks = 10'000'000;
  disk.availableBlocks = 4'000'000;
  return disk;
}

/// A share of 100 000 MiB, half of it free.
FileSystemStats ShareStats() {
  FileSystemStats share;
  share.fragmentSize = share.blockSize = 1048576;
  share.totalBlocks = 100'000;
  share.availableBlocks = 50'000;
  share.fileSystemId = 0x1234;
  return share;
}

class DeadShareTest : public ::testing::Test {
 protected:
  DeadShareTest() {
    system->SetMountInfo(samples::kServer);
    system->fileSystems["/"] = DiskStats();
    system->fileSystems["/srv/share"] = ShareStats();
    TieToLoop(*system, machine.loop);
    machine.start();
    machine.advance(1000);
  }
  ~DeadShareTest() override { system->Release(); }

  std::shared_ptr<FakeSystemCalls> system = std::make_shared<FakeSystemCalls>();
  LinuxProgram machine{system, {.callLimit = kLimit, .letterFile = "", .clock = system->Clock()}};
  WatchedShare watched{machine.loop, *machine.program, kShare};
  const ShareServer server{.die = [this] { system->Hang("/srv/share"); },
                           .answerAgain = [this] { system->Release("/srv/share"); },
                           .timeWaited = [this] { return system->TimeWaited(); }};
};

TEST_F(DeadShareTest, ADeadServerKeepsSayingTimeoutWithItsLastValuesAndNeverHoldsTheWindowAgain) {
  DeadServerKeepsSayingTimeoutWithItsLastValues(watched, server);
}

class ShareBackTest : public DeadShareTest, public ::testing::WithParamInterface<Outage> {};

TEST_P(ShareBackTest, TheDriveIsBackWithinOneResetPeriodOfTheServerAnsweringAgain) {
  ShareIsBackWithinOneResetPeriod(watched, server, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Phases, ShareBackTest, ::testing::ValuesIn(outages::kPhases));

TEST_F(DeadShareTest, ASlowServerHoldsTheWindowOncePerResetPeriodAtMost) {
  system->latency["/srv/share"] = 7000ms;  // answers, but after the limit
  machine.advance(10 * kReset);
  // One wait when it first ran out of time, then one after each reset: never more.
  EXPECT_LE(system->TimeWaited(), 11 * kLimit);
  EXPECT_GE(system->TimeWaited(), 10 * kLimit);
  EXPECT_TRUE(watched.TimedOut());
}

/// Shares whose servers are dead before the program starts: the network mounts of the server
/// sample, which get the letters E, F and G.
class SharesDeadAtStartTest : public ::testing::TestWithParam<bool> {
 protected:
  static constexpr const char* kShares[] = {"/srv/share", "/mnt/backup", "/home/ops/remote"};

  SharesDeadAtStartTest() {
    system->SetMountInfo(samples::kServer);
    for (const char* mount : {"/", "/var", "/mnt/data"}) system->fileSystems[mount] = DiskStats();
    for (const char* mount : kShares) {
      system->fileSystems[mount] = ShareStats();
      system->Hang(mount);
    }
    TieToLoop(*system, machine.loop);
    // With an exclusion on, discovery probes every drive before it judges them.
    if (GetParam()) machine.writeSettings("[System]\nExcludeDoubleMappings=True\n");
  }
  ~SharesDeadAtStartTest() override { system->Release(); }

  Program& program() { return *machine.program; }
  std::string Cell(const std::vector<Control*>& column, char letter) {
    return column[static_cast<std::size_t>(machine.rowOf(letter))]->caption();
  }

  std::shared_ptr<FakeSystemCalls> system = std::make_shared<FakeSystemCalls>();
  LinuxProgram machine{system, {.callLimit = kLimit, .letterFile = "", .clock = system->Clock()}};
};

TEST_P(SharesDeadAtStartTest, TheWindowComesUpAtOnceAndTheFirstSurveyShowsTheSharesAsTimedOut) {
  machine.start();
  EXPECT_TRUE(program().form1().visible());
  EXPECT_EQ(machine.loop.now(), 0) << "the start-up waited for the dead servers";
  EXPECT_EQ(system->TimeWaited(), 0ms);
  const std::string letters = program().m.DriveLetters;
  ASSERT_EQ(letters, "CDEFGH");

  // The first survey waits for the dead servers once, all together.
  machine.advance(kSurvey);
  EXPECT_EQ(system->TimeWaited(), kLimit);
  const Form1& f = program().form1();
  for (char share : std::string("EFG")) {
    EXPECT_EQ(Cell(f.Label2, share), std::string(1, share) + ":");
    EXPECT_EQ(Cell(f.Label4, share), "Net");
    EXPECT_EQ(Cell(f.Label5, share), "timeout");
    EXPECT_NE(program().m.TimedOutLetters.find(share), std::string::npos);
  }
  EXPECT_EQ(Cell(f.Label4, 'D'), "HD/XFS");  // the disks are surveyed as ever
  EXPECT_NE(f.Label2[static_cast<std::size_t>(machine.rowOf('E'))]->toolTip().find("/srv/share"),
            std::string::npos);

  // The shares keep showing so, without another wait, over resets and drive refreshes.
  for (int reset = 0; reset < 3; ++reset) {
    machine.advance(kReset);
    for (char share : std::string("EFG")) {
      EXPECT_EQ(Cell(f.Label2, share), std::string(1, share) + ":") << reset;
      EXPECT_EQ(Cell(f.Label4, share), "Net") << reset;
      EXPECT_EQ(Cell(f.Label5, share), "timeout") << reset;
    }
  }
  EXPECT_EQ(system->TimeWaited(), kLimit) << "the window waited again";

  // A server that answers again is back, with its file system, within one reset period.
  system->Release("/srv/share");
  machine.advance(kReset + kSurvey);
  EXPECT_EQ(Cell(f.Label4, 'E'), "Net/NFS4");
  EXPECT_NE(Cell(f.Label5, 'E'), "timeout");
  EXPECT_EQ(Cell(f.Label5, 'F'), "timeout");
}

INSTANTIATE_TEST_SUITE_P(Exclusions, SharesDeadAtStartTest, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "DoublesExcluded" : "NoneExcluded"; });

// A helper of an earlier run is still stuck in a call to the dead share: this run starts no other
// helper for it and does not wait for it, until that helper lets go.
TEST_F(DeadShareTest, AShareAnEarlierRunIsStuckOnCostsNoHelperAndNoWait) {
  LinuxProgram later{system, {.callLimit = kLimit, .letterFile = "", .clock = system->Clock()}};
  TieToLoop(*system, later.loop);
  system->Hang("/srv/share");
  system->heldElsewhere.insert("/srv/share");
  const int calls = system->StatCallsOf("/srv/share");
  const std::chrono::nanoseconds waited = system->TimeWaited();
  later.start();
  later.advance(kSurvey);
  const Form1& f = later.program->form1();
  const auto row = static_cast<std::size_t>(later.rowOf(kShare));
  EXPECT_EQ(f.Label2[row]->caption(), "E:");
  EXPECT_EQ(f.Label4[row]->caption(), "Net");
  EXPECT_EQ(f.Label5[row]->caption(), "timeout");
  for (int reset = 0; reset < 2; ++reset) later.advance(kReset);
  EXPECT_EQ(f.Label5[row]->caption(), "timeout");
  EXPECT_EQ(system->StatCallsOf("/srv/share"), calls) << "a call was made";
  EXPECT_EQ(system->TimeWaited(), waited) << "the window waited";

  // The server answers, and the stuck helper ends with its call: the share is back after the
  // next reset, asked by a helper of this run.
  system->Release("/srv/share");
  system->heldElsewhere.clear();
  later.advance(kReset);
  EXPECT_EQ(f.Label4[row]->caption(), "Net/NFS4");
  EXPECT_NE(f.Label5[row]->caption(), "timeout");
  EXPECT_EQ(system->StatCallsOf("/srv/share"), calls + 1);
  // The fixture's loop outlives this run's: the fake calls tell its time again.
  TieToLoop(*system, machine.loop);
}

}  // namespace
}  // namespace volumetra
