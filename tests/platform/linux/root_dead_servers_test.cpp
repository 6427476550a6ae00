// The Linux volume services against FUSE file systems that stop answering (needs root and
// /dev/fuse): the calls run in helper processes, several dead servers cost one wait together, and a
// server that answers again is asked again.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "platform/linux/linux_volumes.h"
#include "platform/linux/scratch_mounts.h"
#include "platform/linux/volume_questions.h"
#include "support/linux/test_fuse.h"
#include "support/machine/temp_dir.h"

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
    Discovery(volumes);
    for (const auto& server : servers) {
      for (char letter = 'D'; letter <= 'Z'; ++letter)
        if (volumes.MountPointOf(letter) == server->mountPoint()) letters += letter;
    }
    ASSERT_EQ(letters.size(), static_cast<std::size_t>(kServers));
  }

  TempDir scratch;
  std::vector<std::unique_ptr<TestFuse>> servers;
  LinuxVolumes volumes{MakeLinuxSystemCalls(VOLUMETRA_HELPER), {.callLimit = kLimit, .letterFile = ""}};
  std::string letters;
};

TEST_F(RootDeadServers, SeveralDeadServersCostOneWaitTogetherThenNone) {
  std::vector<std::int64_t> totals;
  EXPECT_EQ(ProbePass(volumes, letters, &totals), "");
  EXPECT_EQ(totals, std::vector<std::int64_t>(kServers, std::int64_t{1} << 30));
  EXPECT_EQ(volumes.GetDriveType(std::string(1, letters[0]) + ":\\"), 4);  // a network drive

  for (const auto& server : servers) server->StopAnswering();
  const auto start = Clock::now();
  EXPECT_EQ(ProbePass(volumes, letters), letters);
  const auto firstPass = Clock::now() - start;
  EXPECT_GE(firstPass, kLimit);
  EXPECT_LT(firstPass, 2 * kLimit) << "the waits did not overlap";
  EXPECT_EQ(volumes.StuckMounts(), kServers);

  // Discovery asks no server and takes what each told last; a pass finds the calls still stuck.
  const auto later = Clock::now();
  std::map<char, std::int64_t> known;
  EXPECT_EQ(Discovery(volumes, &known), "");
  for (char letter : letters) EXPECT_EQ(known[letter], std::int64_t{1} << 30) << letter;
  EXPECT_EQ(ProbePass(volumes, letters), letters);
  EXPECT_LT(Clock::now() - later, kLimit / 2) << "a stuck server was waited for again";

  // The servers answer again: the stuck calls come back, and the next passes ask them again.
  for (const auto& server : servers) server->AnswerAgain();
  std::string silent = letters;
  for (const auto deadline = Clock::now() + 5s; !silent.empty() && Clock::now() < deadline;) {
    std::this_thread::sleep_for(10ms);
    silent = ProbePass(volumes, letters);
  }
  EXPECT_EQ(silent, "");
}

}  // namespace
}  // namespace volumetra
