#pragma once

#include <string>

namespace volumetra {

/// The lock a volume helper holds while it is in a call to one mount: a kernel file lock (flock) on
/// a file of that mount's own in the user's runtime directory. A later run of the program that
/// finds the lock held knows that a helper of an earlier run is stuck in a call to the mount, and
/// starts no other one for it. The kernel lets go of the lock when that helper ends, however late
/// and in whatever way; a file left behind holds no lock, so it never makes a mount look stuck.
class VolumeLock {
 public:
  /// Opens the lock file of the mount `volume` (its key), creating it (mode 0600) and its
  /// directory where missing. Locks nothing when the user has no private runtime directory or the
  /// file cannot be opened.
  explicit VolumeLock(const std::string& volume);
  ~VolumeLock();
  VolumeLock(const VolumeLock&) = delete;
  VolumeLock& operator=(const VolumeLock&) = delete;

  /// The open lock file, for a helper to lock; -1 when there is none. Once a helper has it, this
  /// object must not ask HeldElsewhere: a lock taken through the same open file is not elsewhere.
  int fd() const { return fd_; }
  /// Another open file of the lock holds it now: a helper is in a call to the mount.
  bool HeldElsewhere() const;

 private:
  int fd_ = -1;
};

/// Where the lock files are: "volumetra" in $XDG_RUNTIME_DIR, else "/tmp/volumetra-<uid>", made
/// with mode 0700. Empty when that directory is not there and the user's alone.
std::string VolumeLockDirectory();

/// The lock file's name for the mount `volume`: a hash of its key, so that any mount point fits.
std::string VolumeLockName(const std::string& volume);

}  // namespace volumetra
