#include "platform/linux/linux_beep.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/scratch_mounts.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

TEST(LinuxBeep, WritesTheBellToTheTerminal) {
  TempDir scratch;
  const std::string terminal = scratch.str() + "/tty";
  ASSERT_EQ(mkfifo(terminal.c_str(), 0600), 0);
  const int reader = open(terminal.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  LinuxBeep(terminal).Beep();
  char received = 0;
  EXPECT_EQ(read(reader, &received, 1), 1);
  EXPECT_EQ(received, '\a');
  close(reader);
}

TEST(LinuxBeep, NeverBlocksOnATerminalThatCannotTakeIt) {
  TempDir scratch;
  const std::string terminal = scratch.str() + "/tty";
  ASSERT_EQ(mkfifo(terminal.c_str(), 0600), 0);
  LinuxBeep beep(terminal);
  beep.Beep();  // no reader: a blocking open would wait here forever

  const int reader = open(terminal.c_str(), O_RDONLY | O_NONBLOCK);
  const int filler = open(terminal.c_str(), O_WRONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_GE(filler, 0);
  const char fill = 'x';
  std::size_t filled = 0;
  while (write(filler, &fill, 1) == 1) ++filled;
  beep.Beep();  // full: a blocking write would wait here forever

  std::size_t drained = 0;
  char received = 0;
  while (read(reader, &received, 1) == 1) {
    EXPECT_EQ(received, fill);
    ++drained;
  }
  EXPECT_EQ(drained, filled);
  close(filler);
  close(reader);
  LinuxBeep(scratch.str() + "/missing").Beep();
}

}  // namespace
}  // namespace volumetra
