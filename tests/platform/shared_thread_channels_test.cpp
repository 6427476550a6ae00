// Channels of the call guards that share one thread (the local disks' on Windows), with calls that
// block until a test lets them return.
#include "platform/shared_thread_channels.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace volumetra {
namespace {

using namespace std::chrono_literals;

struct Answer {
  bool ok = false;
  bool lost = false;
  std::string text;
  std::thread::id thread;
};

/// Calls that echo their text, each blocking while the server is held.
struct Server {
  std::mutex mutex;
  std::condition_variable released;
  bool held = false;
  std::atomic<int> calls{0};

  Answer Call(const std::string& text) {
    ++calls;
    std::unique_lock lock(mutex);
    released.wait(lock, [this] { return !held; });
    return {true, false, text, std::this_thread::get_id()};
  }
  void Hold(bool hold) {
    std::lock_guard lock(mutex);
    held = hold;
    released.notify_all();
  }
};

using Channels = SharedThreadChannels<std::string, Answer>;

auto In(std::chrono::milliseconds wait) {
  return std::chrono::steady_clock::now() + wait;
}

std::unique_ptr<Channels> ChannelsOn(const std::shared_ptr<Server>& server) {
  return std::make_unique<Channels>([server](const std::string& text) { return server->Call(text); });
}

TEST(SharedThreadChannels, EachChannelCollectsItsOwnAnswersMadeInTurnOnOneThread) {
  auto server = std::make_shared<Server>();
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
  const std::optional<Answer> b1 = b->Collect(In(5000ms));
  const std::optional<Answer> a1 = a->Collect(In(5000ms));
  const std::optional<Answer> a2 = a->Collect(In(5000ms));
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
  auto server = std::make_shared<Server>();
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
  const std::optional<Answer> stuck = a->Collect(In(5000ms));
  ASSERT_TRUE(stuck);
  EXPECT_EQ(stuck->text, "stuck");
  // A call started after it is made: the dropped one was not.
  ASSERT_TRUE(a->Start("after"));
  const std::optional<Answer> after = a->Collect(In(5000ms));
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
