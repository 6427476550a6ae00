#include "platform/win32/fake_volume_calls.h"

#include <deque>

namespace volumetra {

/// Results are made when a call starts, or, for a drive that hangs, once it is released; they come
/// back in the order the calls started.
class FakeVolumeCalls::Channel : public DriveCallChannel {
 public:
  explicit Channel(std::shared_ptr<FakeVolumeCalls> calls) : calls_(std::move(calls)) {}

  bool Start(const DriveCall& call) override {
    if (call.kind == DriveCall::Kind::DriveMap) {
      ++calls_->mapChannelCalls_;
    } else {
      ++calls_->channelCalls_[call.letter];
    }
    Pending pending{call, std::nullopt};
    if (!calls_->hanging(call)) pending.result = RunDriveCall(*calls_, call);
    pending_.push_back(std::move(pending));
    return true;
  }

  std::optional<DriveCallResult> Collect(TimePoint deadline) override {
    if (pending_.empty()) return std::nullopt;
    Pending& next = pending_.front();
    if (!next.result && !calls_->hanging(next.call)) next.result = RunDriveCall(*calls_, next.call);
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

void FakeVolumeCalls::hangDriveMap() {
  std::lock_guard lock(mutex_);
  mapHangs_ = true;
}

void FakeVolumeCalls::release() {
  std::lock_guard lock(mutex_);
  releasing_ = true;
  released_.notify_all();
}

bool FakeVolumeCalls::hanging(const DriveCall& call) {
  std::lock_guard lock(mutex_);
  if (releasing_) return false;
  if (call.kind == DriveCall::Kind::DriveMap) return mapHangs_;
  const auto found = drives_.find(call.letter);
  return found != drives_.end() && found->second.hangs;
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
  // Under Wine the type call opens the drive's root: it waits for a dead server like the others.
  ++typeCalls_;
  std::unique_lock lock(mutex_);
  const auto found = drives_.find(rootPath[0]);
  if (found == drives_.end()) return 1;
  if (found->second.hangs) released_.wait(lock, [this] { return releasing_; });
  return found->second.type;
}
std::uint32_t FakeVolumeCalls::LogicalDrives() {
  std::unique_lock lock(mutex_);
  if (mapHangs_) released_.wait(lock, [this] { return releasing_; });
  std::uint32_t present = 0;
  for (const auto& [letter, drive] : drives_) {
    if (drive.type != 1) present |= 1u << (letter - 'A');
  }
  return present;
}
DriveListing FakeVolumeCalls::FirstEntry(const std::string& pattern) {
  return enter(pattern[0]).listing;
}
bool FakeVolumeCalls::IsLocalDisk(char letter) {
  // The system's names only: never waits, whether the drive hangs or not.
  std::lock_guard lock(mutex_);
  const auto found = drives_.find(letter);
  return found != drives_.end() && found->second.type == kFixedDrive;
}
std::string FakeVolumeCalls::RemoteName(char letter) {
  return enter(letter).remoteName;
}
void FakeVolumeCalls::HoldRoot(char letter) {
  std::lock_guard lock(mutex_);
  heldRoots_.insert(letter);
}
void FakeVolumeCalls::ReleaseRoot(char letter) {
  std::lock_guard lock(mutex_);
  heldRoots_.erase(letter);
}
std::set<char> FakeVolumeCalls::heldRoots() {
  std::lock_guard lock(mutex_);
  return heldRoots_;
}

}  // namespace volumetra
