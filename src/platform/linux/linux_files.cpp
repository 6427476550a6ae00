#include "platform/linux/linux_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/ini_file_access.h"
#include "platform/linux/desktop_entry.h"
#include "platform/linux/user_directories.h"

namespace volumetra {
namespace {

constexpr const char* kApplicationDirectory = "volumetra";
constexpr mode_t kNewFileMode = 0644;
// What ends a log line; a line cut short is ended this way before the next one.
const std::string kLineEnd = "\r\n";

// The kernel marks an executable replaced on disk while running (a rebuild) with this suffix.
constexpr std::string_view kDeletedMark = " (deleted)";

std::string ExecutableOfThisProcess() {
  std::error_code ec;
  std::string path = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  if (ec) return {};
  if (path.ends_with(kDeletedMark)) path.resize(path.size() - kDeletedMark.size());
  return path;
}

// $XDG_CONFIG_HOME when set to an absolute path, else ~/.config.
std::string ConfigurationHome() {
  return XdgDirectory("XDG_CONFIG_HOME", ".config");
}

std::string ErrorText(int error) {
  return std::strerror(error);
}

// An installed copy's desktop entry lies in ../share/applications beside the bin directory.
bool IsInstalledCopy(const std::filesystem::path& directory) {
  std::error_code ec;
  const std::filesystem::path entry =
      directory.parent_path() / "share/applications" / (std::string(kDesktopId) + ".desktop");
  return std::filesystem::is_regular_file(entry, ec);
}

// Why the missing `directory` is not there: the directory above it that exists refuses new
// directories (the configuration directory could not be made), or plainly that it is missing.
std::string WhyNoDirectory(const std::filesystem::path& directory) {
  std::filesystem::path existing = directory;
  struct stat info {};
  while (existing.has_relative_path() && stat(existing.c_str(), &info) != 0)
    existing = existing.parent_path();
  if (existing != directory && S_ISDIR(info.st_mode) && access(existing.c_str(), W_OK | X_OK) != 0)
    return "cannot create " + directory.string() + ": " + ErrorText(errno);
  return ErrorText(ENOENT);
}

}  // namespace

LinuxFiles::LinuxFiles() : LinuxFiles(ExecutableOfThisProcess()) {}

LinuxFiles::LinuxFiles(std::string executablePath) : executablePath_(std::move(executablePath)) {}

std::string LinuxFiles::ProgramDirectory() {
  if (programDirectory_) return *programDirectory_;
  const std::string beside = ExecutableDirectory();
  if (!beside.empty() && access(beside.c_str(), W_OK) == 0 && !IsInstalledCopy(beside)) {
    programDirectory_ = beside;
  } else {
    const std::string config = ConfigurationHome() + "/" + kApplicationDirectory;
    CreatePrivateDirectories(config);
    programDirectory_ = config;
  }
  return *programDirectory_;
}

std::string LinuxFiles::ExecutableDirectory() {
  return std::filesystem::path(executablePath_).parent_path().string();
}

std::string LinuxFiles::ExecutableBaseName() {
  return std::filesystem::path(executablePath_).stem().string();
}

std::string LinuxFiles::CurrentDirectory() {
  std::error_code ec;
  const std::filesystem::path current = std::filesystem::current_path(ec);
  return ec ? std::string() : current.string();
}

bool LinuxFiles::SetCurrentDirectory(const std::string& path) {
  return chdir(path.c_str()) == 0;
}

bool LinuxFiles::IsOrdinaryFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool LinuxFiles::AppendLine(const std::string& path, const std::string& line, std::string& error) {
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, kNewFileMode);
  if (fd < 0) {
    error = ErrorText(errno);
    return false;
  }
  const bool unended = unendedLines_.contains(path);
  const std::string text = unended ? kLineEnd + line : line;
  ssize_t written = 0;
  do {
    written = write(fd, text.data(), text.size());
  } while (written < 0 && errno == EINTR);
  const int writeError = errno;
  bool landed = written == static_cast<ssize_t>(text.size());
  if (written < 0) {
    error = ErrorText(writeError);
  } else if (!landed) {
    error = "short write (" + std::to_string(written) + " of " + std::to_string(text.size()) + " bytes)";
  }
  // A write that put anything after the previous cut line leaves a cut line of its own, or none.
  if (landed) {
    unendedLines_.erase(path);
  } else if (written > 0) {
    unendedLines_.insert(path);
  }
  if (close(fd) != 0 && landed) {
    error = ErrorText(errno);
    landed = false;
  }
  return landed;
}

bool LinuxFiles::CanReplaceFile(const std::string& path, std::string& reason) {
  const std::string target = ini_file::WriteTarget(path);
  struct stat info {};
  if (stat(target.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) {
      reason = "not an ordinary file";
      return false;
    }
    if (access(target.c_str(), R_OK) != 0) {
      reason = ErrorText(errno);
      return false;
    }
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
      reason = ini_file::kReadOnlyReason;
      return false;
    }
    if (access(target.c_str(), W_OK) != 0) {
      reason = ErrorText(errno);
      return false;
    }
  }
  const std::filesystem::path parent = std::filesystem::path(target).parent_path();
  const std::filesystem::path directory = parent.empty() ? std::filesystem::path(".") : parent;
  const int fd = open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode);
  if (fd >= 0) {
    close(fd);
    return true;
  }
  if (errno == ENOENT) {
    reason = WhyNoDirectory(directory);
    return false;
  }
  if (errno != EOPNOTSUPP && errno != EISDIR) {
    reason = ErrorText(errno);
    return false;
  }
  // A file system without unnamed files: the permissions to add a name to the directory.
  if (access(directory.c_str(), W_OK | X_OK) == 0) return true;
  reason = ErrorText(errno);
  return false;
}

}  // namespace volumetra
