// The call channels against the real system: the volume helper process, and the thread that
// stands in for it where no helper can be started (the thread channel itself: thread_channel_test).
#include "platform/linux/helper_channel.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/linux/hanging_call.h"
#include "platform/linux/scoped_variable.h"
#include "platform/linux/scratch_mounts.h"
#include "platform/linux/volume_lock.h"
#include "support/linux/test_fuse.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

auto In(std::chrono::milliseconds wait) {
  return std::chrono::steady_clock::now() + wait;
}

HangingCall Stat(const std::string& path) {
  return {HangingCall::Kind::StatFileSystem, path};
}

// Asks `query` again until it holds, for a few seconds at most.
bool Eventually(const std::function<bool()>& query) {
  const auto deadline = In(5000ms);
  while (std::chrono::steady_clock::now() < deadline) {
    if (query()) return true;
    std::this_thread::sleep_for(5ms);
  }
  return false;
}

TEST(HelperChannel, AnswersAsTheCallsThemselvesDo) {
  std::unique_ptr<HelperChannel> channel = HelperChannel::Launch(VOLUMETRA_HELPER);
  ASSERT_TRUE(channel);
  ASSERT_TRUE(channel->Start(Stat("/")));
  ASSERT_TRUE(channel->Start(Stat("/no/such/directory")));
  ASSERT_TRUE(channel->Start({HangingCall::Kind::ProbeBlockDevice, "/no/such/device"}));
  struct statvfs root {};
  ASSERT_EQ(statvfs("/", &root), 0);

  const std::optional<HangingCallResult> stats = channel->Collect(In(5000ms));
  ASSERT_TRUE(stats);
  EXPECT_TRUE(stats->ok);
  EXPECT_EQ(stats->stats.totalBlocks, root.f_blocks);
  EXPECT_EQ(stats->stats.fragmentSize, root.f_frsize);
  EXPECT_EQ(stats->stats.maxNameLength, root.f_namemax);
  const std::optional<HangingCallResult> missing = channel->Collect(In(5000ms));
  ASSERT_TRUE(missing);
  EXPECT_FALSE(missing->ok);
  EXPECT_FALSE(missing->lost);
  const std::optional<HangingCallResult> probe = channel->Collect(In(5000ms));
  ASSERT_TRUE(probe);
  EXPECT_EQ(probe->kind, HangingCall::Kind::ProbeBlockDevice);
  EXPECT_FALSE(probe->ok);
  EXPECT_FALSE(channel->Collect(In(0ms)));  // nothing more to come
}

TEST(HelperChannel, TheHelperHoldsNoDescriptorOfTheProgram) {
  int pipe[2];
  ASSERT_EQ(pipe2(pipe, 0), 0);  // inheritable, as a careless library's might be
  std::unique_ptr<HelperChannel> channel = HelperChannel::Launch(VOLUMETRA_HELPER);
  ASSERT_TRUE(channel);
  ASSERT_TRUE(channel->Start(Stat("/")));
  ASSERT_TRUE(channel->Collect(In(5000ms)));  // the helper runs
  close(pipe[1]);
  // Were the write end open in the helper, the read end would see no end of file.
  pollfd ready{pipe[0], POLLIN, 0};
  ASSERT_EQ(poll(&ready, 1, 5000), 1);
  char byte = 0;
  EXPECT_EQ(read(pipe[0], &byte, 1), 0);
  close(pipe[0]);
}

TEST(VolumeHelperOf, FindsTheHelperBesideTheProgramOrWhereTheInstallationPutsIt) {
  const TempDir scratch;
  const std::string bin = scratch.MakeDirectory("prefix/bin");
  const std::string libexec = scratch.MakeDirectory("prefix/libexec/volumetra");
  EXPECT_EQ(VolumeHelperOf(bin + "/volumetra"), "");
  const auto place = [](const std::string& path) {
    std::ofstream(path) << "#!/bin/sh\n";
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  };
  place(libexec + "/volumetra-volume-helper");
  EXPECT_EQ(VolumeHelperOf(bin + "/volumetra"), libexec + "/volumetra-volume-helper");
  place(bin + "/volumetra-volume-helper");  // a copy beside the program comes first
  EXPECT_EQ(VolumeHelperOf(bin + "/volumetra"), bin + "/volumetra-volume-helper");
  std::filesystem::permissions(bin + "/volumetra-volume-helper", std::filesystem::perms::owner_read);
  EXPECT_EQ(VolumeHelperOf(bin + "/volumetra"), libexec + "/volumetra-volume-helper") << "not executable";
}

TEST(HelperChannel, AHelperThatCannotStartIsNone) {
  EXPECT_FALSE(HelperChannel::Launch("/no/such/helper"));
  EXPECT_FALSE(HelperChannel::Launch("/bin/false"));
}

TEST(HelperChannel, AHelperStuckOnADeadServerOutlivesItsChannelUntilTheServerAnswers) {
  if (const std::string why = TestFuse::Unavailable(VOLUMETRA_TEST_FUSE); !why.empty()) GTEST_SKIP() << why;
  ASSERT_TRUE(EnterPrivateMountNamespace());
  const TempDir scratch;
  TestFuse server(VOLUMETRA_TEST_FUSE, scratch.MakeDirectory("share"));
  ASSERT_TRUE(server.mounted());

  std::unique_ptr<HelperChannel> channel = HelperChannel::Launch(VOLUMETRA_HELPER);
  ASSERT_TRUE(channel);
  ASSERT_TRUE(channel->Start(Stat(server.mountPoint())));
  const std::optional<HangingCallResult> live = channel->Collect(In(5000ms));
  ASSERT_TRUE(live && live->ok);
  EXPECT_EQ(live->stats.totalBlocks, 262'144u);
  EXPECT_EQ(ProcessesRunning(VOLUMETRA_HELPER).size(), 1u);

  server.StopAnswering();
  ASSERT_TRUE(channel->Start(Stat(server.mountPoint())));
  EXPECT_FALSE(channel->Collect(In(200ms)));
  channel.reset();  // returns at once, although the helper is stuck
  EXPECT_EQ(ProcessesRunning(VOLUMETRA_HELPER).size(), 1u);
  server.AnswerAgain();
  EXPECT_TRUE(Eventually([] { return ProcessesRunning(VOLUMETRA_HELPER).empty(); }));
}

// Runs one after another against a dead server: the helper of the first, stuck in its call, holds
// the mount's lock, so later runs start no helper of their own for that mount and get no answer at
// once, until the stuck helper's call returns and the lock is free again.
TEST(RealSystemCalls, AMountAHelperOfAnEarlierRunIsStuckOnGetsNoOtherHelperUntilItLetsGo) {
  if (const std::string why = TestFuse::Unavailable(VOLUMETRA_TEST_FUSE); !why.empty()) GTEST_SKIP() << why;
  ASSERT_TRUE(EnterPrivateMountNamespace());
  const TempDir scratch;
  const ScopedVariable runtime("XDG_RUNTIME_DIR", scratch.MakeDirectory("run"));
  TestFuse server(VOLUMETRA_TEST_FUSE, scratch.MakeDirectory("share"));
  ASSERT_TRUE(server.mounted());
  const std::string volume = "77 " + server.mountPoint();

  std::unique_ptr<HangingCallChannel> first = MakeLinuxSystemCalls(VOLUMETRA_HELPER)->OpenCallChannel(volume);
  ASSERT_TRUE(first);
  ASSERT_TRUE(first->Start(Stat(server.mountPoint())));
  ASSERT_TRUE(first->Collect(In(5000ms)));
  EXPECT_FALSE(VolumeLock(volume).HeldElsewhere()) << "an idle helper holds no lock";

  server.StopAnswering();
  ASSERT_TRUE(first->Start(Stat(server.mountPoint())));
  EXPECT_FALSE(first->Collect(In(200ms)));
  first.reset();  // the first run ends; its helper stays, stuck
  EXPECT_TRUE(VolumeLock(volume).HeldElsewhere());

  for (int run = 0; run < 2; ++run) {
    std::unique_ptr<HangingCallChannel> later =
        MakeLinuxSystemCalls(VOLUMETRA_HELPER)->OpenCallChannel(volume);
    ASSERT_TRUE(later);
    ASSERT_TRUE(later->Start(Stat(server.mountPoint())));
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_FALSE(later->Collect(In(5000ms)));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s) << "no answer, at once";
    EXPECT_EQ(ProcessesRunning(VOLUMETRA_HELPER).size(), 1u) << "a helper was started for the stuck mount";
  }

  // The server answers: the stuck helper's call returns, the helper ends and the lock is free. A
  // channel opened while it was held breaks then, so that its next call starts a helper.
  std::unique_ptr<HangingCallChannel> waiting =
      MakeLinuxSystemCalls(VOLUMETRA_HELPER)->OpenCallChannel(volume);
  ASSERT_TRUE(waiting->Start(Stat(server.mountPoint())));
  server.AnswerAgain();
  EXPECT_TRUE(Eventually([] { return ProcessesRunning(VOLUMETRA_HELPER).empty(); }));
  EXPECT_FALSE(VolumeLock(volume).HeldElsewhere());
  const std::optional<HangingCallResult> broken = waiting->Collect(In(0ms));
  ASSERT_TRUE(broken);
  EXPECT_TRUE(broken->lost);
  std::unique_ptr<HangingCallChannel> fresh = MakeLinuxSystemCalls(VOLUMETRA_HELPER)->OpenCallChannel(volume);
  ASSERT_TRUE(fresh->Start(Stat(server.mountPoint())));
  const std::optional<HangingCallResult> answer = fresh->Collect(In(5000ms));
  ASSERT_TRUE(answer);
  EXPECT_TRUE(answer->ok);
}

TEST(HelperChannel, AnIdleHelperEndsWithItsChannel) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root: counts the helpers of a mount namespace of its own";
  ASSERT_TRUE(EnterPrivateMountNamespace());
  std::unique_ptr<HelperChannel> channel = HelperChannel::Launch(VOLUMETRA_HELPER);
  ASSERT_TRUE(channel);
  EXPECT_TRUE(Eventually([] { return ProcessesRunning(VOLUMETRA_HELPER).size() == 1; }));
  channel.reset();
  EXPECT_TRUE(Eventually([] { return ProcessesRunning(VOLUMETRA_HELPER).empty(); }));
}

TEST(RealSystemCalls, WithoutAHelperTheCallsRunOnAThread) {
  for (const std::string& helper : {std::string(), std::string("/no/such/helper")}) {
    std::unique_ptr<HangingCallChannel> channel = MakeLinuxSystemCalls(helper)->OpenCallChannel("2 /");
    ASSERT_TRUE(channel);
    ASSERT_TRUE(channel->Start(Stat("/")));
    const std::optional<HangingCallResult> root = channel->Collect(In(5000ms));
    ASSERT_TRUE(root);
    EXPECT_TRUE(root->ok);
  }
}

}  // namespace
}  // namespace volumetra
