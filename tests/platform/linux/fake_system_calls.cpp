#include "platform/linux/fake_system_calls.h"

#include <deque>

#include "platform/linux/helper_channel.h"

namespace volumetra {

/// A channel on the virtual clock: results are worked out when a call starts and come back at
/// its arrival time, in the order the calls started.
class FakeSystemCalls::Channel : public HangingCallChannel {
 public:
  explicit Channel(FakeSystemCalls& system) : system_(system) { ++system_.openChannels_; }
  ~Channel() override { --system_.openChannels_; }

  bool Start(const HangingCall& call) override {
    if (call.kind == HangingCall::Kind::StatFileSystem) system_.CountStat(call.path);
    const TimePoint arrival = system_.ArrivalOf(call.path, system_.now());
    HangingCallResult result;
    result.kind = call.kind;
    if (call.kind == HangingCall::Kind::StatFileSystem) {
      const auto it = system_.fileSystems.find(call.path);
      result.ok = it != system_.fileSystems.end();
      if (result.ok) result.stats = it->second;
    } else if (std::optional<BlockIdentity> identity = system_.ProbeBlockDevice(call.path)) {
      result.ok = true;
      result.identity = *identity;
    }
    pending_.push_back({call.path, system_.now(), arrival, result});
    return true;
  }

  std::optional<HangingCallResult> Collect(TimePoint deadline) override {
    if (pending_.empty()) return std::nullopt;
    Pending& next = pending_.front();
    // A hanging call may have been released since it started.
    if (next.arrival == TimePoint::max()) next.arrival = system_.ArrivalOf(next.path, next.start);
    const TimePoint now = system_.now();
    if (next.arrival > deadline) {
      Wait(deadline - now);
      return std::nullopt;
    }
    Wait(next.arrival - now);
    HangingCallResult result = next.result;
    pending_.pop_front();
    return result;
  }

 private:
  void Wait(std::chrono::nanoseconds time) {
    if (time <= std::chrono::nanoseconds(0)) return;
    system_.waited_ += time;
    system_.spend(time);
  }

  struct Pending {
    std::string path;
    TimePoint start;
    TimePoint arrival;
    HangingCallResult result;
  };
  FakeSystemCalls& system_;
  std::deque<Pending> pending_;
};

void FakeSystemCalls::CountStat(const std::string& path) {
  std::lock_guard lock(mutex_);
  ++statCalls_[path];
  statThreads_[path].insert(std::this_thread::get_id());
}

bool FakeSystemCalls::StatFileSystem(const std::string& path, FileSystemStats& stats) {
  CountStat(path);
  {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [&] {
      const auto outage = outages_.find(path);
      return outage == outages_.end() || outage->second.second != TimePoint::max();
    });
  }
  const auto it = fileSystems.find(path);
  if (it == fileSystems.end()) return false;
  stats = it->second;
  return true;
}

std::optional<std::string> FakeSystemCalls::ReadTextFile(const std::string& path) {
  const auto it = files.find(path);
  return it == files.end() ? std::nullopt : std::optional(it->second);
}

std::vector<std::string> FakeSystemCalls::ListDirectory(const std::string& path) {
  const auto it = directories.find(path);
  return it == directories.end() ? std::vector<std::string>{} : it->second;
}

std::optional<DeviceNumber> FakeSystemCalls::BlockDeviceAt(const std::string& path) {
  const auto it = blockDevices.find(path);
  return it == blockDevices.end() ? std::nullopt : std::optional(it->second);
}

bool FakeSystemCalls::IsDirectory(const std::string& path) {
  directoryChecks.push_back(path);
  return !nonDirectories.contains(path);
}

std::optional<BlockIdentity> FakeSystemCalls::ProbeBlockDevice(const std::string& path) {
  ++probeCalls;
  const auto it = identities.find(path);
  return it == identities.end() ? std::nullopt : std::optional(it->second);
}

// A held channel counts as open while it lives, as the real one holds its lock file open.
class FakeSystemCalls::Held : public HeldChannel {
 public:
  Held(FakeSystemCalls& system, std::string mountPoint)
      : HeldChannel([&system, mountPoint] { return system.heldElsewhere.contains(mountPoint); }),
        system_(system) {
    ++system_.openChannels_;
  }
  ~Held() override { --system_.openChannels_; }

 private:
  FakeSystemCalls& system_;
};

std::unique_ptr<HangingCallChannel> FakeSystemCalls::OpenCallChannel(const std::string& volume) {
  // A mount's key is its mount id, a space and its mount point.
  const std::string mountPoint = volume.substr(volume.find(' ') + 1);
  if (heldElsewhere.contains(mountPoint)) return std::make_unique<Held>(*this, mountPoint);
  ++callingChannelsOpened_;
  return std::make_unique<Channel>(*this);
}

FakeSystemCalls::TimePoint FakeSystemCalls::ArrivalOf(const std::string& path, TimePoint start) {
  std::lock_guard lock(mutex_);
  const auto lag = latency.find(path);
  const TimePoint answered = start + (lag == latency.end() ? std::chrono::milliseconds(0) : lag->second);
  const auto outage = outages_.find(path);
  if (outage == outages_.end() || start < outage->second.first || start >= outage->second.second)
    return answered;
  return outage->second.second;
}

int FakeSystemCalls::StatCallsOf(const std::string& path) {
  std::lock_guard lock(mutex_);
  return statCalls_[path];
}

std::set<std::thread::id> FakeSystemCalls::StatThreadsOf(const std::string& path) {
  std::lock_guard lock(mutex_);
  return statThreads_[path];
}

void FakeSystemCalls::Hang(const std::string& path) {
  const TimePoint from = now();
  std::lock_guard lock(mutex_);
  outages_[path] = {from, TimePoint::max()};
}

void FakeSystemCalls::Release(const std::string& path) {
  const TimePoint until = now();
  std::lock_guard lock(mutex_);
  if (const auto outage = outages_.find(path);
      outage != outages_.end() && outage->second.second == TimePoint::max())
    outage->second.second = until;
  released_.notify_all();
}

void FakeSystemCalls::Release() {
  const TimePoint until = now();
  std::lock_guard lock(mutex_);
  for (auto& [path, outage] : outages_)
    if (outage.second == TimePoint::max()) outage.second = until;
  released_.notify_all();
}

}  // namespace volumetra
