// The initialisation file's file operations on POSIX systems.
#include "platform/ini_file_access.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/ini_temporaries.h"

namespace volumetra::ini_file {

const char* const kNewFileLineEnd = "\n";

namespace {

struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) ::close(fd);
  }
};

bool WriteAll(int fd, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
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

// Makes a rename in `directory` durable; a failure here loses no data, so it is not reported.
void SyncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Creates the temporary file `temp` for writing. A file of that name can only have been left by an
// ended process with this process's id, so it is removed and the name taken.
int CreateTemporary(const std::string& temp) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
  const int fd = ::open(temp.c_str(), kFlags, 0666);
  if (fd >= 0 || errno != EEXIST || ::unlink(temp.c_str()) != 0) return fd;
  return ::open(temp.c_str(), kFlags, 0666);
}

}  // namespace

// Removes "<name>.tmp.<pid>.<n>" files of `path` whose writing process no longer runs. Run when no
// save of this process is under way (saves are made one at a time, start to end), so a file named
// with this process's id was left by an ended process that had the same id.
void RemoveLeftTemporaries(const std::string& path) {
  const std::string directory = DirectoryOf(path);
  const std::string prefix = TemporaryPrefix(NameOf(path));
  DIR* dir = ::opendir(directory.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const auto writer = static_cast<pid_t>(TemporaryWriter(entry->d_name, prefix));
    if (writer <= 0) continue;
    if (writer != ::getpid() && (::kill(writer, 0) == 0 || errno != ESRCH)) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

std::string CodePageToUtf8(std::string_view bytes) {
  return std::string(bytes);
}

bool Utf8ToCodePage(std::string_view utf8, std::string& bytes) {
  bytes = utf8;
  return true;
}

ReadStatus ReadWhole(const std::string& path, std::string& content, std::string* error) {
  const auto fail = [error](std::string reason) {
    if (error) *error = std::move(reason);
    return ReadStatus::Failed;
  };
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadStatus::Missing : fail(std::strerror(errno));
  FdCloser closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return fail("not an ordinary file");
  content.clear();
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n == 0) return ReadStatus::Read;
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(std::strerror(errno));
    }
    content.append(chunk, static_cast<std::size_t>(n));
  }
}

std::string WriteTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

bool IsReadOnly(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool Replace(const std::string& path, const std::string& content, const std::function<void()>& beforeReplace,
             std::string* error) {
  const auto fail = [error](std::string reason) {
    if (error) *error = std::move(reason);
    return false;
  };
  // A read-only file is left as it is, as Windows leaves it, rather than replaced by a new one.
  if (IsReadOnly(path)) return fail(kReadOnlyReason);
  const std::string temp = NewTemporaryName(path, static_cast<std::uint32_t>(::getpid()));
  const int fd = CreateTemporary(temp);
  if (fd < 0) return fail(std::strerror(errno));
  bool ok;
  {
    FdCloser closer{fd};
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
    ok = WriteAll(fd, content) && ::fsync(fd) == 0;
  }
  if (ok && beforeReplace) beforeReplace();
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    const int reason = errno;
    ::unlink(temp.c_str());
    return fail(std::strerror(reason));
  }
  SyncDirectory(DirectoryOf(path));
  RemoveLeftTemporaries(path);
  return true;
}

}  // namespace volumetra::ini_file
