#include "platform/linux/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <thread>

#include "platform/linux/scratch_mounts.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

TEST(InstanceLock, OneHolderAtATime) {
  TempDir scratch;
  const std::string path = scratch.str() + "/volumetra.lock";
  auto first = std::make_unique<InstanceLock>(path);
  EXPECT_TRUE(first->held());
  EXPECT_FALSE(first->heldElsewhere());

  InstanceLock second(path);
  EXPECT_FALSE(second.held());
  EXPECT_TRUE(second.heldElsewhere());
  EXPECT_TRUE(second.error().empty());
  EXPECT_FALSE(second.tryAgain());

  first.reset();  // the holder ends
  EXPECT_TRUE(second.tryAgain());
  EXPECT_TRUE(second.held());
  EXPECT_TRUE(second.tryAgain());  // asking again while held changes nothing
}

TEST(InstanceLock, AHolderKilledOutrightLeavesTheLockFree) {
  TempDir scratch;
  const std::string path = scratch.str() + "/volumetra.lock";
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    const InstanceLock lock(path);
    const char held = lock.held() ? 'y' : 'n';
    if (write(ready[1], &held, 1) != 1) _exit(1);
    for (;;) pause();
  }
  char held = 0;
  ASSERT_EQ(read(ready[0], &held, 1), 1);
  ASSERT_EQ(held, 'y');
  InstanceLock later(path);
  EXPECT_TRUE(later.heldElsewhere());

  ASSERT_EQ(kill(holder, SIGKILL), 0);
  // Not reaped yet: even as a zombie, whose process id still exists, it holds nothing.
  bool taken = false;
  for (int i = 0; i < 200 && !taken; ++i) {
    taken = later.tryAgain();
    if (!taken) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(taken);
  EXPECT_EQ(kill(holder, 0), 0) << "the killed holder should still be a zombie here";
  int status = 0;
  ASSERT_EQ(waitpid(holder, &status, 0), holder);
  close(ready[0]);
  close(ready[1]);
}

TEST(InstanceLock, AFileThatCannotBeMadeIsAnErrorNotAnotherHolder) {
  TempDir scratch;
  InstanceLock lock(scratch.str() + "/missing/volumetra.lock");
  EXPECT_FALSE(lock.held());
  EXPECT_FALSE(lock.heldElsewhere());
  EXPECT_EQ(lock.error(), scratch.str() + "/missing/volumetra.lock: No such file or directory");
  EXPECT_FALSE(lock.tryAgain());
}

}  // namespace
}  // namespace volumetra
