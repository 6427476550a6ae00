#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/system_calls.h"

namespace volumetra {

/// A scripted Linux machine for the volume services. Paths not listed answer as missing; every
/// path is a directory unless listed in `nonDirectories`. statvfs of a mount point in the hang
/// set blocks until Release(), as on a dead NFS server.
class FakeSystemCalls : public LinuxSystemCalls {
 public:
  bool StatFileSystem(const std::string& path, FileSystemStats& stats) override;
  std::optional<std::string> ReadTextFile(const std::string& path) override;
  std::vector<std::string> ListDirectory(const std::string& path) override;
  std::optional<DeviceNumber> BlockDeviceAt(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  std::optional<BlockIdentity> ProbeBlockDevice(const std::string& path) override;

  void SetMountInfo(std::string text) { files["/proc/self/mountinfo"] = std::move(text); }
  /// Makes statvfs of `mountPoint` block until Release().
  void Hang(const std::string& mountPoint);
  /// Lets every blocked statvfs return, and later ones pass.
  void Release();

  std::map<std::string, std::string> files;
  std::map<std::string, FileSystemStats> fileSystems;
  std::map<std::string, std::vector<std::string>> directories;
  std::map<std::string, DeviceNumber> blockDevices;
  std::set<std::string> nonDirectories;
  std::map<std::string, BlockIdentity> identities;

  /// statvfs calls made for `path` so far.
  int StatCallsOf(const std::string& path);
  /// The threads that made them.
  std::set<std::thread::id> StatThreadsOf(const std::string& path);

  std::atomic<int> probeCalls{0};
  std::vector<std::string> directoryChecks;

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  std::set<std::string> hanging_;
  std::map<std::string, int> statCalls_;
  std::map<std::string, std::set<std::thread::id>> statThreads_;
};

}  // namespace volumetra
