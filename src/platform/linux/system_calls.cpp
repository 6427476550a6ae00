#include "platform/linux/system_calls.h"

#include <blkid/blkid.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace volumetra {
namespace {

// Files of /proc and /sys are small; this only guards against reading something unbounded.
constexpr std::size_t kMaxTextFileBytes = 64 * 1024 * 1024;

std::string LookUpProbeValue(blkid_probe probe, const char* name) {
  const char* value = nullptr;
  std::size_t length = 0;
  if (blkid_probe_lookup_value(probe, name, &value, &length) != 0 || value == nullptr) return {};
  return std::string(value, strnlen(value, length));
}

class RealSystemCalls : public LinuxSystemCalls {
 public:
  bool StatFileSystem(const std::string& path, FileSystemStats& stats) override {
    struct statvfs result {};
    if (statvfs(path.c_str(), &result) != 0) return false;
    stats.fragmentSize = result.f_frsize;
    stats.blockSize = result.f_bsize;
    stats.totalBlocks = result.f_blocks;
    stats.availableBlocks = result.f_bavail;
    stats.fileSystemId = result.f_fsid;
    stats.maxNameLength = result.f_namemax;
    stats.readOnly = (result.f_flag & ST_RDONLY) != 0;
    return true;
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
    blkid_probe probe = blkid_new_probe_from_filename(path.c_str());
    if (probe == nullptr) return std::nullopt;
    blkid_probe_enable_superblocks(probe, 1);
    blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID);
    const int found = blkid_do_safeprobe(probe);
    std::optional<BlockIdentity> identity;
    if (found == 0)
      identity = BlockIdentity{LookUpProbeValue(probe, "LABEL"), LookUpProbeValue(probe, "UUID")};
    if (found == 1) identity = BlockIdentity{};  // readable, but no known file system on it
    blkid_free_probe(probe);
    return identity;
  }
};

}  // namespace

std::shared_ptr<LinuxSystemCalls> MakeLinuxSystemCalls() {
  return std::make_shared<RealSystemCalls>();
}

}  // namespace volumetra
