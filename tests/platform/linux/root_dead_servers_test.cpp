// The Linux volume services against FUSE file systems that stop answering (needs root and
// /dev/fuse): the calls run in helper processes, several dead servers cost one wait together, and a
// server that answers again is asked again.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/linux/linux_volumes.h"
#include "platform/linux/scratch_mounts.h"
#include "support/test_fuse.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kLimit = 400ms;
constexpr int kServers = 4;

class RootDeadServers : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string why = TestFuse::Unavailable(VOLUMETRA_TEST_FUSE); !why.empty()) GTEST_SKIP() << why;
    ASSERT_TRUE(EnterPrivateMountNamespace()) << "no mount namespace of the test's own";
    for (int i = 0; i < kServers; ++i) {
      servers.push_back(std::make_unique<TestFuse>(VOLUMETRA_TEST_FUSE,
                                                   scratch.MakeDirectory("share" + std::to_string(i))));
      ASSERT_TRUE(servers.back()->mounted());
    }
    Discovery();
    for (const auto& server : servers) {
      for (char letter = 'D'; letter <= 'Z'; ++letter)
        if (volumes.MountPointOf(letter) == server->mountPoint()) letters += letter;
    }
    ASSERT_EQ(letters.size(), static_cast<std::size_t>(kServers));
  }

  /// Drive discovery's questions: the free space of every letter. The letters that gave no answer.
  std::string Discovery() {
    std::string silent;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
      volumes.ListDrive(letter);
      std::int32_t spc = 0, bps = 0, freeClusters = 0, total = 0;
      if (volumes.GetDiskFreeSpace(std::string(1, letter) + ":\\", spc, bps, freeClusters, total) ==
          VolumeAnswer::NoAnswer)
        silent += letter;
    }
    return silent;
  }

  /// A probe pass over the shares' letters; the letters that gave no answer. `totals` gets the
  /// size in bytes of those that did.
  std::string ProbePass(std::vector<std::int64_t>* totals = nullptr) {
    volumes.BeginProbePass(letters);
    std::string silent;
    for (char letter : letters) {
      const std::string rootPath = std::string(1, letter) + ":\\";
      std::string label(255, ' '), fileSystem(255, ' ');
      std::int32_t serial = 0, nameLength = 0, flags = 0, spc = 0, bps = 0, freeClusters = 0, total = 0;
      if (volumes.GetVolumeInformation(rootPath, label, serial, nameLength, flags, fileSystem) ==
              VolumeAnswer::NoAnswer ||
          volumes.GetDiskFreeSpace(rootPath, spc, bps, freeClusters, total) == VolumeAnswer::NoAnswer) {
        silent += letter;
      } else if (totals) {
        totals->push_back(std::int64_t{spc} * bps * total);
      }
    }
    return silent;
  }

  ScratchDirectory scratch;
  std::vector<std::unique_ptr<TestFuse>> servers;
  LinuxVolumes volumes{MakeLinuxSystemCalls(VOLUMETRA_HELPER), {.callLimit = kLimit, .letterFile = ""}};
  std::string letters;
};

TEST_F(RootDeadServers, SeveralDeadServersCostOneWaitTogetherThenNone) {
  std::vector<std::int64_t> totals;
  EXPECT_EQ(ProbePass(&totals), "");
  EXPECT_EQ(totals, std::vector<std::int64_t>(kServers, std::int64_t{1} << 30));
  EXPECT_EQ(volumes.GetDriveType(std::string(1, letters[0]) + ":\\"), 4);  // a network drive

  for (const auto& server : servers) server->StopAnswering();
  const auto start = Clock::now();
  EXPECT_EQ(ProbePass(), letters);
  const auto firstPass = Clock::now() - start;
  EXPECT_GE(firstPass, kLimit);
  EXPECT_LT(firstPass, 2 * kLimit) << "the waits did not overlap";
  EXPECT_EQ(volumes.StuckMounts(), kServers);

  const auto later = Clock::now();
  EXPECT_EQ(Discovery(), letters);
  EXPECT_EQ(ProbePass(), letters);
  EXPECT_LT(Clock::now() - later, kLimit / 2) << "a stuck server was waited for again";

  // The servers answer again: the stuck calls come back, and the next passes ask them again.
  for (const auto& server : servers) server->AnswerAgain();
  std::string silent = letters;
  for (const auto deadline = Clock::now() + 5s; !silent.empty() && Clock::now() < deadline;) {
    std::this_thread::sleep_for(10ms);
    silent = ProbePass();
  }
  EXPECT_EQ(silent, "");
}

}  // namespace
}  // namespace volumetra
