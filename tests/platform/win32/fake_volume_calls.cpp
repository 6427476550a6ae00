#include "platform/win32/fake_volume_calls.h"

#include <deque>

namespace volumetra {

/// Results are made when a call starts, or, for a drive that hangs, once it is released; they come
/// back in the order the calls started.
class FakeVolumeCalls::Channel : public DriveCallChannel {
 public:
  explicit Channel(std::shared_ptr<FakeVolumeCalls> calls) : calls_(std::move(calls)) {}

  bool Start(const DriveCall& call) override {
    ++calls_->channelCalls_[call.letter];
    Pending pending{call, std::nullopt};
    if (!calls_->hanging(call.letter)) pending.result = RunDriveCall(*calls_, call);
    pending_.push_back(std::move(pending));
    return true;
  }

  std::optional<DriveCallResult> Collect(TimePoint deadline) override {
    if (pending_.empty()) return std::nullopt;
    Pending& next = pending_.front();
    if (!next.result && !calls_->hanging(next.call.letter)) next.result = RunDriveCall(*calls_, next.call);
    if (!next.result) {
      const TimePoint now = calls_->now();
      if (deadline > now) {
        calls_->waited_ += deadline - now;
        calls_->spend(deadline - now);
      }
      return std::nullopt;
    }
    DriveCallResult result = std::move(*next.result);
    pending_.pop_front();
    return result;
  }

 private:
  struct Pending {
    DriveCall call;
    std::optional<DriveCallResult> result;
  };
  std::shared_ptr<FakeVolumeCalls> calls_;
  std::deque<Pending> pending_;
};

void FakeVolumeCalls::set(char letter, Drive drive) {
  std::lock_guard lock(mutex_);
  drives_[letter] = std::move(drive);
}

void FakeVolumeCalls::release() {
  std::lock_guard lock(mutex_);
  releasing_ = true;
  released_.notify_all();
}

bool FakeVolumeCalls::hanging(char letter) {
  std::lock_guard lock(mutex_);
  const auto found = drives_.find(letter);
  return found != drives_.end() && found->second.hangs && !releasing_;
}

FakeVolumeCalls::Drive FakeVolumeCalls::enter(char letter) {
  ++calls_;
  std::unique_lock lock(mutex_);
  const auto found = drives_.find(letter);
  if (found == drives_.end()) {
    Drive none;
    none.type = 1;
    none.listing = {false, {}, 3};
    return none;
  }
  if (found->second.hangs) released_.wait(lock, [this] { return releasing_; });
  return found->second;
}

std::unique_ptr<DriveCallChannel> FakeVolumeCalls::OpenChannel() {
  return std::make_unique<Channel>(shared_from_this());
}

int FakeVolumeCalls::ChannelCallsOf(char letter) const {
  const auto found = channelCalls_.find(letter);
  return found == channelCalls_.end() ? 0 : found->second;
}

std::optional<VolumeInformation> FakeVolumeCalls::VolumeInformationOf(const std::string& rootPath) {
  return enter(rootPath[0]).information;
}
std::optional<DiskGeometry> FakeVolumeCalls::DiskFreeSpace(const std::string& rootPath) {
  return enter(rootPath[0]).geometry;
}
std::optional<DiskBytes> FakeVolumeCalls::DiskFreeSpaceEx(const std::string& rootPath) {
  return enter(rootPath[0]).bytes;
}
std::uint32_t FakeVolumeCalls::DriveType(const std::string& rootPath) {
  // The type comes from the drive's mapping, never from the server: it does not hang.
  ++typeCalls_;
  std::lock_guard lock(mutex_);
  const auto found = drives_.find(rootPath[0]);
  return found == drives_.end() ? 1 : found->second.type;
}
std::uint32_t FakeVolumeCalls::LogicalDrives() {
  std::lock_guard lock(mutex_);
  std::uint32_t present = 0;
  for (const auto& [letter, drive] : drives_) {
    if (drive.type != 1) present |= 1u << (letter - 'A');
  }
  return present;
}
DriveListing FakeVolumeCalls::FirstEntry(const std::string& pattern) {
  return enter(pattern[0]).listing;
}
std::string FakeVolumeCalls::RemoteName(char letter) {
  return enter(letter).remoteName;
}

}  // namespace volumetra
