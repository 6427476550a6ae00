#include "platform/linux/fake_system_calls.h"

namespace volumetra {

bool FakeSystemCalls::StatFileSystem(const std::string& path, FileSystemStats& stats) {
  {
    std::unique_lock lock(mutex_);
    ++statCalls_[path];
    statThreads_[path].insert(std::this_thread::get_id());
    released_.wait(lock, [&] { return !hanging_.contains(path); });
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

int FakeSystemCalls::StatCallsOf(const std::string& path) {
  std::lock_guard lock(mutex_);
  return statCalls_[path];
}

std::set<std::thread::id> FakeSystemCalls::StatThreadsOf(const std::string& path) {
  std::lock_guard lock(mutex_);
  return statThreads_[path];
}

void FakeSystemCalls::Hang(const std::string& mountPoint) {
  std::lock_guard lock(mutex_);
  hanging_.insert(mountPoint);
}

void FakeSystemCalls::Release() {
  std::lock_guard lock(mutex_);
  hanging_.clear();
  released_.notify_all();
}

}  // namespace volumetra
