#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/win32/volume_calls.h"

namespace volumetra {

/// Scripted Win32 volume calls. A drive's queries can be made to hang until `release()`, as those
/// of a network server that is gone. Safe to call from the guard's worker threads.
class FakeVolumeCalls : public VolumeCalls {
 public:
  struct Drive {
    std::uint32_t type = 3;
    std::optional<VolumeInformation> information;
    std::optional<DiskGeometry> geometry;
    std::optional<DiskBytes> bytes;
    DriveListing listing{true, "Windows", 0};
    std::string remoteName;
    bool hangs = false;
  };

  void set(char letter, Drive drive);
  /// Lets every hanging call return.
  void release();
  int calls() const { return calls_; }

  std::optional<VolumeInformation> VolumeInformationOf(const std::string& rootPath) override;
  std::optional<DiskGeometry> DiskFreeSpace(const std::string& rootPath) override;
  std::optional<DiskBytes> DiskFreeSpaceEx(const std::string& rootPath) override;
  std::uint32_t DriveType(const std::string& rootPath) override;
  DriveListing FirstEntry(const std::string& pattern) override;
  std::string RemoteName(char letter) override;

 private:
  /// The drive of `letter` (a copy), after waiting while it hangs.
  Drive enter(char letter);

  std::mutex mutex_;
  std::condition_variable released_;
  bool releasing_ = false;
  std::map<char, Drive> drives_;
  std::atomic<int> calls_{0};
};

}  // namespace volumetra
