// The program's volume helper: makes the system calls that can hang for the program (statvfs of a
// mount point whose server may be dead, the libblkid probe of a device), one after another, as the
// program asks for them over the socket it gets as its standard input. A call that never returns
// then holds this process only, never the program: the program stops waiting for it, and ends when
// asked, leaving the helper behind. The helper ends when the program closes its end of the socket,
// or, when stuck, once its call returns and finds the program gone. While in a call it holds the
// lock of the mount it was started for, so that a later run of the program that finds the lock held
// starts no other helper for that mount while this one is stuck.
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/helper_protocol.h"
#include "platform/linux/raw_volume_calls.h"

namespace {

using volumetra::kHelperLock;
using volumetra::kHelperSocket;

struct DirectCalls {
  bool StatFileSystem(const std::string& path, volumetra::FileSystemStats& stats) {
    return volumetra::StatFileSystemNow(path, stats);
  }
  std::optional<volumetra::BlockIdentity> ProbeBlockDevice(const std::string& path) {
    return volumetra::ProbeBlockDeviceNow(path);
  }
};

}  // namespace

int main() {
  // Only the socket, the lock and the error output are the helper's: a descriptor of the program's
  // that slipped through would stay open, for as long as a stuck call lasts, after the program ended.
  ::close_range(kHelperLock + 1, ~0U, 0);
  // Hold no directory of the program's, so that a stuck helper keeps no file system busy.
  if (::chdir("/") != 0) return 1;
  // Leave the program's children at once: the program never waits for a helper, which may outlive it.
  const pid_t helper = ::fork();
  if (helper < 0) return 1;
  if (helper > 0) ::_exit(0);

  DirectCalls calls;
  char request[volumetra::kMaxRequestBytes + 1];
  for (;;) {
    const ssize_t n = ::recv(kHelperSocket, request, sizeof request, 0);
    if (n == 0) return 0;  // the program closed its end
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return 1;
    const auto call = volumetra::DecodeRequest({request, static_cast<std::size_t>(n)});
    if (!call) return 1;
    // Without a lock (none given: EBADF) the call is made all the same. Another run's helper in a
    // call to the mount is waited for: its call would hold this one up as well.
    while (::flock(kHelperLock, LOCK_EX) != 0 && errno == EINTR) {
    }
    const std::string reply = volumetra::EncodeReply(volumetra::RunHangingCall(calls, *call));
    ::flock(kHelperLock, LOCK_UN);
    if (::send(kHelperSocket, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) return 0;  // the program is gone
  }
}
