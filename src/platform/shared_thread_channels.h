#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/call_channel.h"

namespace volumetra {

/// Several CallChannels on one thread of this process, which makes their calls with `run`, one
/// after another in the order they were started; each channel collects its own results. For calls
/// that do not hang in practice, such as those of local disks: they then cost one thread together
/// (under Wine each thread keeps about 1 MB of memory resident). A call that hangs holds the calls
/// of every channel behind it. Closing a channel drops its calls not made yet and never waits; the
/// thread starts with the first channel and ends, after the call in hand, once the channels and this
/// object are gone. `run` must own (or share) everything it touches.
template <typename Call, typename Result>
class SharedThreadChannels {
 public:
  using Run = std::function<Result(const Call&)>;

  explicit SharedThreadChannels(Run run) : shared_(std::make_shared<Shared>()), run_(std::move(run)) {}

  ~SharedThreadChannels() {
    std::lock_guard lock(shared_->mutex);
    shared_->ownerGone = true;
    shared_->changed.notify_all();
  }
  SharedThreadChannels(const SharedThreadChannels&) = delete;
  SharedThreadChannels& operator=(const SharedThreadChannels&) = delete;

  /// A new channel on the thread; nullptr when the thread cannot be started.
  std::unique_ptr<CallChannel<Call, Result>> Open() {
    if (!started_) {
      try {
        std::thread([shared = shared_, run = run_] { Serve(*shared, run); }).detach();
      } catch (const std::system_error&) {
        return nullptr;
      }
      started_ = true;
    }
    std::lock_guard lock(shared_->mutex);
    const int lane = shared_->nextLane++;
    shared_->results[lane];
    return std::unique_ptr<CallChannel<Call, Result>>(new Channel(shared_, lane));
  }

  /// The thread has been started.
  bool started() const { return started_; }

 private:
  struct Job {
    int lane;
    Call call;
  };
  struct Shared {
    std::mutex mutex;
    std::condition_variable changed;  // a call, a result or a closing arrived
    std::deque<Job> jobs;
    /// The results not collected yet of each open channel.
    std::map<int, std::deque<Result>> results;
    int nextLane = 0;
    bool ownerGone = false;
  };

  class Channel final : public CallChannel<Call, Result> {
   public:
    using TimePoint = typename CallChannel<Call, Result>::TimePoint;

    Channel(std::shared_ptr<Shared> shared, int lane) : shared_(std::move(shared)), lane_(lane) {}
    ~Channel() override {
      std::lock_guard lock(shared_->mutex);
      shared_->results.erase(lane_);
      std::erase_if(shared_->jobs, [this](const Job& job) { return job.lane == lane_; });
      shared_->changed.notify_all();
    }
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    bool Start(const Call& call) override {
      std::lock_guard lock(shared_->mutex);
      shared_->jobs.push_back(Job{lane_, call});
      shared_->changed.notify_all();
      return true;
    }

    std::optional<Result> Collect(TimePoint deadline) override {
      std::unique_lock lock(shared_->mutex);
      std::deque<Result>& mine = shared_->results[lane_];
      if (!shared_->changed.wait_until(lock, deadline, [&] { return !mine.empty(); })) return std::nullopt;
      Result result = std::move(mine.front());
      mine.pop_front();
      return result;
    }

   private:
    std::shared_ptr<Shared> shared_;
    int lane_;
  };

  static void Serve(Shared& shared, const Run& run) {
    std::unique_lock lock(shared.mutex);
    for (;;) {
      shared.changed.wait(
          lock, [&] { return !shared.jobs.empty() || (shared.ownerGone && shared.results.empty()); });
      if (shared.jobs.empty()) return;
      const Job job = std::move(shared.jobs.front());
      shared.jobs.pop_front();
      lock.unlock();
      Result result = run(job.call);
      lock.lock();
      // A channel closed meanwhile drops the result.
      if (const auto open = shared.results.find(job.lane); open != shared.results.end()) {
        open->second.push_back(std::move(result));
        shared.changed.notify_all();
      }
    }
  }

  std::shared_ptr<Shared> shared_;
  Run run_;
  bool started_ = false;
};

}  // namespace volumetra
