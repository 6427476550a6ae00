#include "platform/linux/safe_save.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/ini_temporaries.h"

namespace volumetra {
namespace {

// Passing names already taken (by a file an ended process with this process's id left) are
// skipped; this many in a row mean something else is wrong.
constexpr int kNameAttempts = 100;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Makes a new name in `directory` durable; a failure here loses no data, so it is not reported.
void SyncDirectory(const std::string& directory) {
  const Descriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

std::string PassingName(const std::string& path) {
  return ini_file::NewTemporaryName(path, static_cast<std::uint32_t>(::getpid()));
}

// Gives the unnamed file `fd` the name `name`. Without the capability that linkat(AT_EMPTY_PATH)
// asks of older kernels, the file's link in /proc does it.
bool Link(int fd, const std::string& name) {
  if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
  if (errno != ENOENT && errno != EPERM) return false;
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Links the unnamed file `fd` in under a free passing name of `path`; empty when it cannot be.
std::string LinkUnderPassingName(int fd, const std::string& path) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = PassingName(path);
    if (Link(fd, name)) return name;
    if (errno != EEXIST) break;
  }
  return {};
}

// Creates a file of a free passing name of `path` into `name`, where unnamed files cannot be made.
int CreateUnderPassingName(const std::string& path, mode_t mode, std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = PassingName(path);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) return fd;
    if (errno != EEXIST) break;
  }
  name.clear();
  return -1;
}

enum class Outcome { Saved, Failed, NoUnnamedFiles };

// One save, through an unnamed file or (`unnamed` false) a named one.
Outcome Save(const std::string& path, std::string_view content, const SafeSaveOptions& options, bool unnamed,
             int& reason) {
  struct stat old {};
  const bool replacing = ::stat(path.c_str(), &old) == 0;
  std::string name;  // the passing name, once the new file has one
  const Descriptor file(
      unnamed ? ::open(DirectoryOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, options.newFileMode)
              : CreateUnderPassingName(path, options.newFileMode, name));
  reason = errno;
  if (file.get() < 0)
    return unnamed && (reason == EOPNOTSUPP || reason == EISDIR) ? Outcome::NoUnnamedFiles : Outcome::Failed;
  const auto abandon = [&] {
    reason = errno;
    if (!name.empty()) ::unlink(name.c_str());
    return Outcome::Failed;
  };
  // Permissions the file system cannot hold (FAT) are no reason to keep the old content.
  if (replacing) ::fchmod(file.get(), old.st_mode & 07777);
  if (!WriteAll(file.get(), content) || ::fsync(file.get()) != 0) return abandon();
  if (options.beforeReplace) options.beforeReplace();
  if (unnamed) {
    // A new file takes its name at once; where the name was taken meanwhile, it is replaced.
    if (!replacing && Link(file.get(), path)) return Outcome::Saved;
    name = LinkUnderPassingName(file.get(), path);
    if (name.empty()) {
      reason = errno;
      return Outcome::NoUnnamedFiles;
    }
  }
  if (::rename(name.c_str(), path.c_str()) != 0) return abandon();
  return Outcome::Saved;
}

}  // namespace

bool SaveSafely(const std::string& path, std::string_view content, const SafeSaveOptions& options,
                std::string* error) {
  int reason = 0;
  Outcome outcome = Save(path, content, options, true, reason);
  if (outcome == Outcome::NoUnnamedFiles) outcome = Save(path, content, options, false, reason);
  if (outcome != Outcome::Saved) {
    if (error) *error = std::strerror(reason);
    return false;
  }
  SyncDirectory(DirectoryOf(path));
  RemoveEndedSaves(path);
  return true;
}

// Runs when no save of `path` by this process is under way (one thread saves a file, start to
// end), so a file named with this process's id was left by an ended process that had the same id.
void RemoveEndedSaves(const std::string& path) {
  const std::string prefix = ini_file::TemporaryPrefix(NameOf(path));
  DIR* dir = ::opendir(DirectoryOf(path).c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const auto writer = static_cast<pid_t>(ini_file::TemporaryWriter(entry->d_name, prefix));
    if (writer <= 0) continue;
    if (writer != ::getpid() && (::kill(writer, 0) == 0 || errno != ESRCH)) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace volumetra
