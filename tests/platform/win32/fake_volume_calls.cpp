#include "platform/win32/fake_volume_calls.h"

namespace volumetra {

void FakeVolumeCalls::set(char letter, Drive drive) {
  std::lock_guard lock(mutex_);
  drives_[letter] = std::move(drive);
}

void FakeVolumeCalls::release() {
  std::lock_guard lock(mutex_);
  releasing_ = true;
  released_.notify_all();
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
  std::lock_guard lock(mutex_);
  const auto found = drives_.find(rootPath[0]);
  return found == drives_.end() ? 1 : found->second.type;
}
DriveListing FakeVolumeCalls::FirstEntry(const std::string& pattern) {
  return enter(pattern[0]).listing;
}
std::string FakeVolumeCalls::RemoteName(char letter) {
  return enter(letter).remoteName;
}

}  // namespace volumetra
