// The thread channel of the call guards, with calls that block until a test lets them return, as
// those of a dead network server do.
#include "platform/thread_channel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/blocking_server.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

using Channel = CallChannel<std::string, EchoAnswer>;

std::unique_ptr<Channel> OpenOn(const std::shared_ptr<BlockingServer>& server) {
  return ThreadChannel<std::string, EchoAnswer>::Open(
      [server](const std::string& text) { return server->Call(text); });
}

TEST(ThreadChannel, AnswersInTheOrderOfTheCallsOnAThreadOfItsOwn) {
  auto server = std::make_shared<BlockingServer>();
  std::unique_ptr<Channel> channel = OpenOn(server);
  ASSERT_TRUE(channel);
  EXPECT_FALSE(channel->Collect(In(0ms)));  // nothing started: nothing to collect
  ASSERT_TRUE(channel->Start("first"));
  ASSERT_TRUE(channel->Start("second"));
  const std::optional<EchoAnswer> first = channel->Collect(In(5000ms));
  const std::optional<EchoAnswer> second = channel->Collect(In(5000ms));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->text, "first");
  EXPECT_EQ(second->text, "second");
  EXPECT_TRUE(first->ok);
  EXPECT_NE(first->thread, std::this_thread::get_id());
  EXPECT_EQ(first->thread, second->thread);
}

TEST(ThreadChannel, WaitsNoLongerThanAskedAndLetsGoWithoutWaiting) {
  auto server = std::make_shared<BlockingServer>();
  server->Hold(true);
  std::unique_ptr<Channel> channel = OpenOn(server);
  ASSERT_TRUE(channel->Start("late"));
  EXPECT_FALSE(channel->Collect(In(20ms)));
  server->Hold(false);
  const std::optional<EchoAnswer> late = channel->Collect(In(5000ms));
  ASSERT_TRUE(late);
  EXPECT_EQ(late->text, "late");

  server->Hold(true);
  ASSERT_TRUE(channel->Start("stuck"));
  while (server->calls < 2) std::this_thread::yield();
  channel.reset();  // does not wait for the stuck call
  server->Hold(false);
  // The thread ends after the call in hand and lets go of what its calls use.
  const auto deadline = In(5000ms);
  while (server.use_count() > 1 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(5ms);
  EXPECT_EQ(server.use_count(), 1);
  EXPECT_EQ(server->calls, 2);
}

}  // namespace
}  // namespace volumetra
