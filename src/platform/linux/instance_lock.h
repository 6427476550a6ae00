#pragma once

#include <string>

namespace volumetra {

/// Tells the first running copy of the program from later starts: the first holds an exclusive
/// lock (flock) on a file. The kernel gives the lock up when its process ends in whatever way,
/// SIGKILL included, so a file left behind never keeps a later start from taking the lock; there
/// is no process id to check and no age after which a lock counts as stale.
class InstanceLock {
 public:
  /// Tries once to take the lock of `path`, creating the file (mode 0600) when it is missing.
  explicit InstanceLock(std::string path);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  /// True while this process holds the lock.
  bool held() const { return held_; }
  /// True when another process holds the lock; false when this one does or the file could not be
  /// opened at all (see error()).
  bool heldElsewhere() const { return !held_ && error_.empty(); }
  /// Why the lock file could not be opened; empty otherwise.
  const std::string& error() const { return error_; }
  /// Tries once more; true when the lock is held now.
  bool tryAgain();

 private:
  std::string path_;
  int fd_ = -1;
  bool held_ = false;
  std::string error_;
};

}  // namespace volumetra
