#include "platform/ini_profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/ini_document.h"

namespace volumetra {
namespace {

struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) ::close(fd);
  }
};

enum class ReadStatus { Read, Missing, Failed };

// Reads the whole of an ordinary file. Never blocks on a FIFO or device that has the file's name.
ReadStatus ReadWholeFile(const std::string& path, std::string& content) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
  FdCloser closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return ReadStatus::Failed;
  content.clear();
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n == 0) return ReadStatus::Read;
    if (n < 0) {
      if (errno == EINTR) continue;
      return ReadStatus::Failed;
    }
    content.append(chunk, static_cast<std::size_t>(n));
  }
}

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

// A settings file reached through a symbolic link is written where the link points, so the link
// stays.
std::string ResolvedTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes a rename in `directory` durable; a failure here loses no data, so it is not reported.
void SyncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

int IniProfile::GetPrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue, std::string& buffer, int size,
                                        const std::string& path) {
  std::string content;
  std::optional<std::string> value;
  if (ReadWholeFile(path, content) == ReadStatus::Read) value = IniDocument(content).value(section, key);
  const std::string& found = value ? *value : defaultValue;
  const std::size_t room = size > 0 ? static_cast<std::size_t>(size - 1) : 0;
  buffer = found.substr(0, room);
  return static_cast<int>(buffer.size());
}

int IniProfile::WritePrivateProfileString(const std::string& section, const std::string& key,
                                          const std::string& value, const std::string& path) {
  if (!IsStorableIniEntry(section, key, value)) return 0;
  const std::string target = ResolvedTarget(path);
  std::string content;
  // A file that exists but cannot be read is left alone rather than replaced by one key.
  if (ReadWholeFile(target, content) == ReadStatus::Failed) return 0;
  IniDocument document(content);
  document.set(section, key, value);
  const std::string updated = document.text();
  if (updated == content) return 1;
  return replaceFile(target, updated) ? 1 : 0;
}

bool IniProfile::replaceFile(const std::string& path, const std::string& content) {
  static std::atomic<unsigned> counter{0};
  const std::string temp = path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
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
    ::unlink(temp.c_str());
    return false;
  }
  SyncDirectory(DirectoryOf(path));
  return true;
}

}  // namespace volumetra
