#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace volumetra {

/// Mounts in a mount namespace of this process's own, so that the mounts a test makes and the
/// mounts other tests make at the same time do not see each other. The FUSE file systems the
/// namespace starts with are let go of there (others stay mounted), so that a server another test
/// or person has stopped holds up nothing of this test's. Needs root; false where it cannot be had.
bool EnterPrivateMountNamespace();

/// The processes that run `executable` in this process's mount namespace (the volume helpers a
/// test started, when it has a namespace of its own).
std::vector<pid_t> ProcessesRunning(const std::string& executable);

/// The tests' FUSE file system (tests/platform/linux/test_fuse), served by a process of its own
/// and mounted at a directory while the object lives. It can be told to stop answering, as a dead
/// network server does (through a file beside the mount point, so the change holds from the next
/// request on). Ending it answers again first, so that no call stays stuck on it.
class TestFuse {
 public:
  /// Why the test file system cannot run here (no root, no /dev/fuse, not built); empty when it can.
  static std::string Unavailable(const std::string& server);

  /// Starts `server` (the test file system's executable) on `mountPoint` and waits until it is
  /// mounted; mounted() tells whether that worked.
  TestFuse(const std::string& server, std::string mountPoint);
  ~TestFuse();
  TestFuse(const TestFuse&) = delete;
  TestFuse& operator=(const TestFuse&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& mountPoint() const { return mountPoint_; }
  /// From now on every request waits, unanswered.
  void StopAnswering();
  /// Answers the waiting requests and the ones to come.
  void AnswerAgain();

 private:
  std::string mountPoint_;
  std::string silence_;
  pid_t pid_ = -1;
  bool mounted_ = false;
};

}  // namespace volumetra
