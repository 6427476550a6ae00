// The initialisation file's file operations on POSIX systems.
#include "platform/ini_file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/linux/safe_save.h"

namespace volumetra::ini_file {

const char* const kNewFileLineEnd = "\n";

namespace {

struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

void RemoveLeftTemporaries(const std::string& path) {
  RemoveEndedSaves(path);
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
  // A read-only file is left as it is, as Windows leaves it, rather than replaced by a new one.
  if (IsReadOnly(path)) {
    if (error) *error = kReadOnlyReason;
    return false;
  }
  return SaveSafely(path, content, {.beforeReplace = beforeReplace}, error);
}

}  // namespace volumetra::ini_file
