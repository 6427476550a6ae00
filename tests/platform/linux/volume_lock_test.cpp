// The lock a volume helper holds while in a call: held by another process it is seen as held;
// the kernel lets go of it when that process ends, SIGKILL included; a file left behind holds
// nothing; the lock files live in a directory of the user's alone.
#include "platform/linux/volume_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>

#include "platform/linux/scoped_variable.h"
#include "platform/linux/scratch_mounts.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

constexpr const char* kVolume = "40 /srv/share";

class VolumeLockTest : public ::testing::Test {
 protected:
  TempDir scratch;
  ScopedVariable runtime{"XDG_RUNTIME_DIR", scratch.MakeDirectory("run")};
};

// A process that takes the lock of `volume` and keeps it until killed. The file is opened before
// the fork, so the child only locks (after a fork, only such calls are safe); this process closes
// its copy, so the lock is the child's alone.
pid_t HoldInAnotherProcess(const std::string& volume) {
  auto lock = std::make_unique<VolumeLock>(volume);
  int ready[2];
  if (lock->fd() < 0 || pipe(ready) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    const char held = flock(lock->fd(), LOCK_EX) == 0 ? '1' : '0';
    if (write(ready[1], &held, 1) != 1) _exit(1);
    for (;;) pause();
  }
  lock.reset();
  close(ready[1]);
  char held = '0';
  const bool told = read(ready[0], &held, 1) == 1;
  close(ready[0]);
  return told && held == '1' ? child : -1;
}

TEST_F(VolumeLockTest, AnotherProcessHoldsItUntilItEndsHoweverItEnds) {
  const pid_t holder = HoldInAnotherProcess(kVolume);
  ASSERT_GT(holder, 0);
  EXPECT_TRUE(VolumeLock(kVolume).HeldElsewhere());
  EXPECT_TRUE(VolumeLock(kVolume).HeldElsewhere()) << "looking takes nothing away";
  EXPECT_FALSE(VolumeLock("41 /srv/share").HeldElsewhere()) << "another mount has a lock of its own";

  ASSERT_EQ(kill(holder, SIGKILL), 0);
  ASSERT_EQ(waitpid(holder, nullptr, 0), holder);
  // The file stays behind, and holds nothing.
  EXPECT_TRUE(fs::exists(VolumeLockDirectory() + "/" + VolumeLockName(kVolume)));
  EXPECT_FALSE(VolumeLock(kVolume).HeldElsewhere());
}

TEST_F(VolumeLockTest, LockFilesLiveInADirectoryOfTheUsersAlone) {
  const std::string directory = VolumeLockDirectory();
  ASSERT_EQ(directory, scratch.str() + "/run/volumetra");
  struct stat info {};
  ASSERT_EQ(stat(directory.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  // A directory others may write into, or a link to one, is not taken: no lock then, none held.
  ASSERT_EQ(chmod(directory.c_str(), 0777), 0);
  EXPECT_EQ(VolumeLockDirectory(), "");
  EXPECT_EQ(VolumeLock(kVolume).fd(), -1);
  EXPECT_FALSE(VolumeLock(kVolume).HeldElsewhere());
  fs::remove_all(directory);
  fs::create_directory_symlink(scratch.MakeDirectory("elsewhere"), directory);
  EXPECT_EQ(VolumeLockDirectory(), "");
}

TEST(VolumeLockName, EachMountHasANameOfItsOwnThatFitsAnyMountPoint) {
  std::set<std::string> names;
  for (const std::string volume : {"40 /srv/share", "41 /srv/share", "40 /srv/shares", "40 /srv/sharf"})
    names.insert(VolumeLockName(volume));
  EXPECT_EQ(names.size(), 4u);
  EXPECT_EQ(VolumeLockName("40 /srv/share"), VolumeLockName("40 /srv/share"));
  EXPECT_LT(VolumeLockName("40 /" + std::string(4000, 'x')).size(), 255u);
}

}  // namespace
}  // namespace volumetra
