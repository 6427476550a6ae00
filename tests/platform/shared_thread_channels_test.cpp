// Channels of the call guards that share one thread (the local disks' on Windows), with calls that
// block until a test lets them return.
#include "platform/shared_thread_channels.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/blocking_server.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

using Channels = SharedThreadChannels<std::string, EchoAnswer>;

std::unique_ptr<Channels> ChannelsOn(const std::shared_ptr<BlockingServer>& server) {
  return std::make_unique<Channels>([server](const std::string& text) { return server->Call(text); });
}

TEST(SharedThreadChannels, EachChannelCollectsItsOwnAnswersMadeInTurnOnOneThread) {
  auto server = std::make_shared<BlockingServer>();
  std::unique_ptr<Channels> channels = ChannelsOn(server);
  EXPECT_FALSE(channels->started());
  auto a = channels->Open();
  auto b = channels->Open();
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(channels->started());
  EXPECT_FALSE(a->Collect(In(0ms)));  // nothing started: nothing to collect
  ASSERT_TRUE(a->Start("a1"));
  ASSERT_TRUE(b->Start("b1"));
  ASSERT_TRUE(a->Start("a2"));
  const std::optional<EchoAnswer> b1 = b->Collect(In(5000ms));
  const std::optional<EchoAnswer> a1 = a->Collect(In(5000ms));
  const std::optional<EchoAnswer> a2 = a->Collect(In(5000ms));
  ASSERT_TRUE(a1 && a2 && b1);
  EXPECT_EQ(a1->text, "a1");
  EXPECT_EQ(a2->text, "a2");
  EXPECT_EQ(b1->text, "b1");
  EXPECT_FALSE(b->Collect(In(0ms)));
  EXPECT_NE(a1->thread, std::this_thread::get_id());
  EXPECT_EQ(a1->thread, b1->thread);
  EXPECT_EQ(a2->thread, b1->thread);
}

TEST(SharedThreadChannels, AHangingCallHoldsTheCallsBehindItAndAClosedChannelsCallsAreNotMade) {
  auto server = std::make_shared<BlockingServer>();
  std::unique_ptr<Channels> channels = ChannelsOn(server);
  auto a = channels->Open();
  auto b = channels->Open();
  server->Hold(true);
  ASSERT_TRUE(a->Start("stuck"));
  while (server->calls < 1) std::this_thread::yield();
  ASSERT_TRUE(b->Start("behind"));
  EXPECT_FALSE(b->Collect(In(20ms)));  // waits no longer than asked
  b.reset();                           // does not wait, and drops the call not made yet
  server->Hold(false);
  const std::optional<EchoAnswer> stuck = a->Collect(In(5000ms));
  ASSERT_TRUE(stuck);
  EXPECT_EQ(stuck->text, "stuck");
  // A call started after it is made: the dropped one was not.
  ASSERT_TRUE(a->Start("after"));
  const std::optional<EchoAnswer> after = a->Collect(In(5000ms));
  ASSERT_TRUE(after);
  EXPECT_EQ(after->text, "after");
  EXPECT_EQ(server->calls, 2);

  // The thread ends once the channels and their opener are gone, and lets go of what it uses.
  a.reset();
  channels.reset();
  const auto deadline = In(5000ms);
  while (server.use_count() > 1 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(5ms);
  EXPECT_EQ(server.use_count(), 1);
}

}  // namespace
}  // namespace volumetra
