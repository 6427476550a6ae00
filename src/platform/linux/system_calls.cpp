#include "platform/linux/system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/hanging_call.h"
#include "platform/linux/helper_channel.h"
#include "platform/linux/raw_volume_calls.h"
#include "platform/linux/volume_lock.h"

namespace volumetra {
namespace {

// Files of /proc and /sys are small; this only guards against reading something unbounded.
constexpr std::size_t kMaxTextFileBytes = 64 * 1024 * 1024;

class RealSystemCalls : public LinuxSystemCalls {
 public:
  explicit RealSystemCalls(std::string volumeHelper) : volumeHelper_(std::move(volumeHelper)) {}

  bool StatFileSystem(const std::string& path, FileSystemStats& stats) override {
    return StatFileSystemNow(path, stats);
  }

  std::optional<std::string> ReadTextFile(const std::string& path) override {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string text;
    char chunk[4096];
    for (;;) {
      const ssize_t n = read(fd, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 || text.size() > kMaxTextFileBytes) {
        close(fd);
        return std::nullopt;
      }
      if (n == 0) break;
      text.append(chunk, static_cast<std::size_t>(n));
    }
    close(fd);
    return text;
  }

  std::vector<std::string> ListDirectory(const std::string& path) override {
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
  }

  std::optional<DeviceNumber> BlockDeviceAt(const std::string& path) override {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISBLK(info.st_mode)) return std::nullopt;
    return DeviceNumber{major(info.st_rdev), minor(info.st_rdev)};
  }

  bool IsDirectory(const std::string& path) override {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::optional<BlockIdentity> ProbeBlockDevice(const std::string& path) override {
    return ProbeBlockDeviceNow(path);
  }

  std::unique_ptr<HangingCallChannel> OpenCallChannel(const std::string& volume) override {
    if (!volumeHelper_.empty()) {
      auto lock = std::make_shared<VolumeLock>(volume);
      // A helper of an earlier run is stuck in a call to the mount: another would only join it.
      if (lock->HeldElsewhere())
        return std::make_unique<HeldChannel>([lock] { return lock->HeldElsewhere(); });
      if (std::unique_ptr<HangingCallChannel> helper = HelperChannel::Launch(volumeHelper_, lock->fd()))
        return helper;
    }
    return HangingThreadChannel::Open([system = std::make_shared<RealSystemCalls>(std::string())](
                                          const HangingCall& call) { return RunHangingCall(*system, call); });
  }

 private:
  std::string volumeHelper_;
};

}  // namespace

std::shared_ptr<LinuxSystemCalls> MakeLinuxSystemCalls(std::string volumeHelper) {
  return std::make_shared<RealSystemCalls>(std::move(volumeHelper));
}

}  // namespace volumetra
