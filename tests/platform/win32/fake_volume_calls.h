#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "platform/win32/drive_call.h"
#include "platform/win32/volume_calls.h"

namespace volumetra {

/// Scripted Win32 volume calls. A drive's calls, its type call too, can be made to hang until
/// `release()`, as those of a network server that is gone, and so can the drive map. Safe to call
/// from the call channels' threads.
///
/// Its own call channels (OpenChannel) run on a virtual steady clock instead of threads: a call
/// comes back at once, one of a drive that hangs not before the drive is released, and waiting for
/// a call moves the clock on to the deadline, so a five-second time-out takes no real time.
class FakeVolumeCalls : public VolumeCalls, public std::enable_shared_from_this<FakeVolumeCalls> {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  static constexpr std::uint32_t kFixedDrive = 3;

  struct Drive {
    std::uint32_t type = kFixedDrive;
    std::optional<VolumeInformation> information;
    std::optional<DiskGeometry> geometry;
    std::optional<DiskBytes> bytes;
    DriveListing listing{true, "Windows", 0};
    std::string remoteName;
    bool hangs = false;
  };

  void set(char letter, Drive drive);
  /// From now on the drive map (LogicalDrives) hangs, until `release()`.
  void hangDriveMap();
  /// Lets every hanging call return, and later ones pass.
  void release();
  int calls() const { return calls_; }
  /// DriveType calls so far.
  int typeCalls() const { return typeCalls_; }

  std::optional<VolumeInformation> VolumeInformationOf(const std::string& rootPath) override;
  std::optional<DiskGeometry> DiskFreeSpace(const std::string& rootPath) override;
  std::optional<DiskBytes> DiskFreeSpaceEx(const std::string& rootPath) override;
  std::uint32_t DriveType(const std::string& rootPath) override;
  /// The letters set with a type other than 1 (no root directory).
  std::uint32_t LogicalDrives() override;
  DriveListing FirstEntry(const std::string& pattern) override;
  /// The drives set with the type of a fixed disk.
  bool IsLocalDisk(char letter) override;
  std::string RemoteName(char letter) override;
  void HoldRoot(char letter) override;
  void ReleaseRoot(char letter) override;
  /// The letters whose root is held open now.
  std::set<char> heldRoots();

  /// A call channel on the virtual clock.
  std::unique_ptr<DriveCallChannel> OpenChannel();
  /// The virtual steady clock the channels wait on, for the volume services' call limit.
  std::function<TimePoint()> Clock() {
    return [this] { return now(); };
  }
  /// Where the virtual clock stands and how it moves on; a test may tie both to its event loop.
  std::function<TimePoint()> now = [this] { return ownTime_; };
  std::function<void(std::chrono::nanoseconds)> spend = [this](std::chrono::nanoseconds d) { ownTime_ += d; };
  /// Virtual time callers have spent waiting for the channels' calls.
  std::chrono::nanoseconds TimeWaited() const { return waited_; }
  /// Calls started on the channels for drive `letter`.
  int ChannelCallsOf(char letter) const;
  /// Drive map calls started on the channels.
  int MapChannelCalls() const { return mapChannelCalls_; }

 private:
  class Channel;
  /// The drive of `letter` (a copy), after waiting while it hangs.
  Drive enter(char letter);
  /// Whether `call` would hang now.
  bool hanging(const DriveCall& call);

  std::mutex mutex_;
  std::condition_variable released_;
  bool releasing_ = false;
  bool mapHangs_ = false;
  std::map<char, Drive> drives_;
  std::atomic<int> calls_{0};
  std::atomic<int> typeCalls_{0};
  TimePoint ownTime_{};
  std::chrono::nanoseconds waited_{0};
  std::map<char, int> channelCalls_;
  int mapChannelCalls_ = 0;
  std::set<char> heldRoots_;
};

}  // namespace volumetra
