#include "platform/linux/thread_channel.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace volumetra {

struct ThreadChannel::Shared {
  std::mutex mutex;
  std::condition_variable changed;  // a call, a result or the closing arrived
  std::deque<HangingCall> calls;
  std::deque<HangingCallResult> results;
  bool closed = false;
};

std::unique_ptr<ThreadChannel> ThreadChannel::Open(std::shared_ptr<LinuxSystemCalls> system) {
  auto shared = std::make_shared<Shared>();
  try {
    std::thread([shared, system = std::move(system)] { Serve(shared, system); }).detach();
  } catch (const std::system_error&) {
    return nullptr;
  }
  return std::unique_ptr<ThreadChannel>(new ThreadChannel(std::move(shared)));
}

void ThreadChannel::Serve(const std::shared_ptr<Shared>& shared,
                          const std::shared_ptr<LinuxSystemCalls>& system) {
  std::unique_lock lock(shared->mutex);
  for (;;) {
    shared->changed.wait(lock, [&] { return !shared->calls.empty() || shared->closed; });
    if (shared->closed) return;
    const HangingCall call = shared->calls.front();
    lock.unlock();
    HangingCallResult result = RunHangingCall(*system, call);
    lock.lock();
    shared->calls.pop_front();
    shared->results.push_back(std::move(result));
    shared->changed.notify_all();
  }
}

ThreadChannel::~ThreadChannel() {
  std::lock_guard lock(shared_->mutex);
  shared_->closed = true;
  shared_->changed.notify_all();
}

bool ThreadChannel::Start(const HangingCall& call) {
  std::lock_guard lock(shared_->mutex);
  shared_->calls.push_back(call);
  shared_->changed.notify_all();
  return true;
}

std::optional<HangingCallResult> ThreadChannel::Collect(TimePoint deadline) {
  std::unique_lock lock(shared_->mutex);
  if (!shared_->changed.wait_until(lock, deadline, [&] { return !shared_->results.empty(); }))
    return std::nullopt;
  HangingCallResult result = std::move(shared_->results.front());
  shared_->results.pop_front();
  return result;
}

}  // namespace volumetra
