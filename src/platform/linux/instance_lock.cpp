#include "platform/linux/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace volumetra {

InstanceLock::InstanceLock(std::string path) : path_(std::move(path)) {
  tryAgain();
}

InstanceLock::~InstanceLock() {
  // Closing the file gives the lock up. The file stays: removing it could let a start that opened
  // it just before take a lock on a name that no longer exists while another start makes a new one.
  if (fd_ >= 0) ::close(fd_);
}

bool InstanceLock::tryAgain() {
  if (held_) return true;
  if (fd_ < 0) {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
      error_ = path_ + ": " + std::strerror(errno);
      return false;
    }
    error_.clear();
  }
  int result = 0;
  do {
    result = ::flock(fd_, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    if (errno != EWOULDBLOCK) error_ = path_ + ": " + std::strerror(errno);
    return false;
  }
  held_ = true;
  return true;
}

}  // namespace volumetra
