#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/call_channel.h"

namespace volumetra {

/// A CallChannel on a thread of this process, which makes each call with `run`. The caller never
/// waits longer than it asks to. A call that never returns keeps its thread: on Windows the process
/// still ends when its main thread does, on Linux such a thread keeps it from ending (which is why
/// the Linux volumes prefer helper processes). The thread shares its state with the channel:
/// closing the channel never waits; the thread ends after the call in hand. `run` must own (or
/// share) everything it touches.
template <typename Call, typename Result>
class ThreadChannel final : public CallChannel<Call, Result> {
 public:
  using TimePoint = typename CallChannel<Call, Result>::TimePoint;
  using Run = std::function<Result(const Call&)>;

  /// Starts the thread; nullptr when no thread can be started.
  static std::unique_ptr<ThreadChannel> Open(Run run) {
    auto shared = std::make_shared<Shared>();
    try {
      std::thread([shared, run = std::move(run)] { Serve(*shared, run); }).detach();
    } catch (const std::system_error&) {
      return nullptr;
    }
    return std::unique_ptr<ThreadChannel>(new ThreadChannel(std::move(shared)));
  }

  ~ThreadChannel() override {
    std::lock_guard lock(shared_->mutex);
    shared_->closed = true;
    shared_->changed.notify_all();
  }
  ThreadChannel(const ThreadChannel&) = delete;
  ThreadChannel& operator=(const ThreadChannel&) = delete;

  bool Start(const Call& call) override {
    std::lock_guard lock(shared_->mutex);
    shared_->calls.push_back(call);
    shared_->changed.notify_all();
    return true;
  }

  std::optional<Result> Collect(TimePoint deadline) override {
    std::unique_lock lock(shared_->mutex);
    if (!shared_->changed.wait_until(lock, deadline, [&] { return !shared_->results.empty(); }))
      return std::nullopt;
    Result result = std::move(shared_->results.front());
    shared_->results.pop_front();
    return result;
  }

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable changed;  // a call, a result or the closing arrived
    std::deque<Call> calls;
    std::deque<Result> results;
    bool closed = false;
  };

  explicit ThreadChannel(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

  static void Serve(Shared& shared, const Run& run) {
    std::unique_lock lock(shared.mutex);
    for (;;) {
      shared.changed.wait(lock, [&] { return !shared.calls.empty() || shared.closed; });
      if (shared.closed) return;
      const Call call = shared.calls.front();
      lock.unlock();
      Result result = run(call);
      lock.lock();
      shared.calls.pop_front();
      shared.results.push_back(std::move(result));
      shared.changed.notify_all();
    }
  }

  std::shared_ptr<Shared> shared_;
};

}  // namespace volumetra
