#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/hanging_call.h"
#include "platform/linux/system_calls.h"

namespace volumetra {

/// A scripted Linux machine for the volume services. Paths not listed answer as missing; every
/// path is a directory unless listed in `nonDirectories`.
///
/// Calls that can hang go through its call channels, which run on a virtual steady clock: a call
/// comes back `latency` after its start, and a call of a path that hangs (Hang) not before the path
/// is released. Waiting for a call moves the clock on to the moment it comes back, or to the
/// deadline, so a five-second time-out takes no real time. A statvfs made on the caller's thread
/// of a path that hangs blocks that thread until Release(), as on a dead NFS server.
class FakeSystemCalls : public LinuxSystemCalls {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  bool StatFileSystem(const std::string& path, FileSystemStats& stats) override;
  std::optional<std::string> ReadTextFile(const std::string& path) override;
  std::vector<std::string> ListDirectory(const std::string& path) override;
  std::optional<DeviceNumber> BlockDeviceAt(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  std::optional<BlockIdentity> ProbeBlockDevice(const std::string& path) override;
  std::unique_ptr<HangingCallChannel> OpenCallChannel(const std::string& volume) override;

  void SetMountInfo(std::string text) { files["/proc/self/mountinfo"] = std::move(text); }
  /// Makes calls of `path` (a mount point, or a device to probe) hang from now until released.
  void Hang(const std::string& path);
  /// Lets every hanging call of `path` come back now, and later ones pass.
  void Release(const std::string& path);
  /// Releases every path.
  void Release();

  /// The virtual steady clock, for the volume services' call limit.
  std::function<TimePoint()> Clock() {
    return [this] { return now(); };
  }
  /// Where the virtual clock stands and how it moves on; a test may tie both to its event loop.
  std::function<TimePoint()> now = [this] { return ownTime_; };
  std::function<void(std::chrono::nanoseconds)> spend = [this](std::chrono::nanoseconds d) { ownTime_ += d; };

  std::map<std::string, std::string> files;
  std::map<std::string, FileSystemStats> fileSystems;
  std::map<std::string, std::vector<std::string>> directories;
  std::map<std::string, DeviceNumber> blockDevices;
  std::set<std::string> nonDirectories;
  std::map<std::string, BlockIdentity> identities;
  /// How long a call of a path takes, on the virtual clock, when it does not hang.
  std::map<std::string, std::chrono::milliseconds> latency;
  /// Mount points whose lock a helper of an earlier run holds, stuck in a call to them: channels
  /// opened for them make no call (HeldChannel) while they are listed.
  std::set<std::string> heldElsewhere;

  /// statvfs calls made for `path` so far, on any thread or channel.
  int StatCallsOf(const std::string& path);
  /// The threads that made them (a channel's calls count as made by the thread that started them).
  std::set<std::thread::id> StatThreadsOf(const std::string& path);
  /// Channels opened and not closed yet, held ones included.
  int OpenChannels() const { return openChannels_; }
  /// Channels opened that make calls (as helper processes do), since the fake was made.
  int CallingChannelsOpened() const { return callingChannelsOpened_; }
  /// Virtual time callers have spent waiting for the channels' calls.
  std::chrono::nanoseconds TimeWaited() const { return waited_; }

  std::atomic<int> probeCalls{0};
  std::vector<std::string> directoryChecks;

 private:
  class Channel;
  class Held;
  /// When a call of `path` started at `start` comes back; TimePoint::max() while it hangs.
  TimePoint ArrivalOf(const std::string& path, TimePoint start);
  void CountStat(const std::string& path);

  std::mutex mutex_;
  std::condition_variable released_;
  /// Per path that hangs or hung: when the outage began and when it ended (max while it lasts).
  std::map<std::string, std::pair<TimePoint, TimePoint>> outages_;
  std::map<std::string, int> statCalls_;
  std::map<std::string, std::set<std::thread::id>> statThreads_;
  TimePoint ownTime_{};
  int openChannels_ = 0;
  int callingChannelsOpened_ = 0;
  std::chrono::nanoseconds waited_{0};
};

}  // namespace volumetra
