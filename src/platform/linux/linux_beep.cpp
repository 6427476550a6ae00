#include "platform/linux/linux_beep.h"

#include <fcntl.h>
#include <unistd.h>

namespace volumetra {

void LinuxBeep::Beep() {
  // Non-blocking: a terminal that cannot take the byte now just misses this beep.
  const int fd = open(terminalPath_.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  const char bell = '\a';
  [[maybe_unused]] const ssize_t ignored = write(fd, &bell, 1);
  close(fd);
}

}  // namespace volumetra
