#include "platform/linux/volume_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace volumetra {
namespace {

constexpr mode_t kPrivateDirectoryMode = 0700;
constexpr mode_t kLockFileMode = 0600;
constexpr std::uint64_t kFnvOffset = 14695981039346656037u;
constexpr std::uint64_t kFnvPrime = 1099511628211u;

// A directory that is there (made now if need be), not a link, and the user's alone.
bool IsPrivateDirectory(const std::string& path) {
  mkdir(path.c_str(), kPrivateDirectoryMode);
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
         (info.st_mode & 077) == 0;
}

int FlockRetrying(int fd, int operation) {
  int result = 0;
  do {
    result = flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

}  // namespace

std::string VolumeLockDirectory() {
  std::string directory;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && runtime[0] == '/') {
    directory = std::string(runtime) + "/volumetra";
  } else {
    directory = "/tmp/volumetra-" + std::to_string(geteuid());
  }
  return IsPrivateDirectory(directory) ? directory : std::string();
}

std::string VolumeLockName(const std::string& volume) {
  std::uint64_t hash = kFnvOffset;
  for (unsigned char c : volume) hash = (hash ^ c) * kFnvPrime;
  char name[40];
  std::snprintf(name, sizeof name, "volume-%016llx.lock", static_cast<unsigned long long>(hash));
  return name;
}

VolumeLock::VolumeLock(const std::string& volume) {
  const std::string directory = VolumeLockDirectory();
  if (directory.empty()) return;
  const std::string path = directory + "/" + VolumeLockName(volume);
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, kLockFileMode);
}

VolumeLock::~VolumeLock() {
  // The file stays: removing it could let a run that opened it just before lock a name that no
  // longer exists while a helper locks a new file of that name.
  if (fd_ >= 0) close(fd_);
}

bool VolumeLock::HeldElsewhere() const {
  if (fd_ < 0) return false;
  if (FlockRetrying(fd_, LOCK_EX | LOCK_NB) != 0) return errno == EWOULDBLOCK;
  FlockRetrying(fd_, LOCK_UN);
  return false;
}

}  // namespace volumetra
