#include "platform/linux/helper_channel.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/linux/helper_protocol.h"

extern char** environ;

namespace volumetra {
namespace {

// Signals the program handles or ignores that the helper must take the default way.
constexpr int kDefaultSignals[] = {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD};

// The kernel marks an executable replaced on disk while running (a rebuild) with this suffix.
constexpr std::string_view kDeletedMark = " (deleted)";

// Starts `path` with `socket` as its standard input, `lockFile` (when there is one) as its lock and
// no other descriptor of ours but the error output; waits for the started process, which only forks
// the helper proper and ends.
bool SpawnHelper(const std::string& path, int socket, int lockFile) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_adddup2(&actions, socket, kHelperSocket);
  if (lockFile >= 0) posix_spawn_file_actions_adddup2(&actions, lockFile, kHelperLock);
  posix_spawn_file_actions_addclosefrom_np(&actions, lockFile >= 0 ? kHelperLock + 1 : kHelperLock);
  sigset_t signals;
  sigemptyset(&signals);
  for (int signal : kDefaultSignals) sigaddset(&signals, signal);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  std::string program = path;
  char* arguments[] = {program.data(), nullptr};
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, &attributes, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) return false;
  int status = 0;
  pid_t waited = -1;
  do {
    waited = waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  // Someone else may have reaped it (ECHILD); a helper that could not fork exits non-zero.
  return waited < 0 || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace

std::string VolumeHelperOf(const std::string& executable) {
  const std::filesystem::path directory = std::filesystem::path(executable).parent_path();
  for (const std::filesystem::path& candidate :
       {directory / VOLUMETRA_HELPER_NAME,
        directory / VOLUMETRA_HELPER_FROM_BINDIR / VOLUMETRA_HELPER_NAME}) {
    if (access(candidate.c_str(), X_OK) == 0) return candidate.lexically_normal().string();
  }
  return {};
}

std::string FindVolumeHelper() {
  std::error_code ec;
  std::string executable = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  if (ec) return {};
  if (executable.ends_with(kDeletedMark)) executable.resize(executable.size() - kDeletedMark.size());
  return VolumeHelperOf(executable);
}

std::unique_ptr<HelperChannel> HelperChannel::Launch(const std::string& helperPath, int lockFile) {
  int sockets[2] = {-1, -1};
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sockets) != 0) return nullptr;
  // The helper's descriptors are given from above their own numbers, so that none is closed on the
  // way by another's: a program started with its standard input closed may have 0 for either.
  const int helperEnd = fcntl(sockets[1], F_DUPFD_CLOEXEC, kHelperLock + 1);
  const int lock = lockFile < 0 ? -1 : fcntl(lockFile, F_DUPFD_CLOEXEC, kHelperLock + 1);
  close(sockets[1]);
  const bool started = helperEnd >= 0 && SpawnHelper(helperPath, helperEnd, lock);
  if (helperEnd >= 0) close(helperEnd);
  if (lock >= 0) close(lock);
  if (!started) {
    close(sockets[0]);
    return nullptr;
  }
  return std::unique_ptr<HelperChannel>(new HelperChannel(sockets[0]));
}

HelperChannel::~HelperChannel() {
  close(socket_);
}

HangingCallResult HelperChannel::Broken() {
  broken_ = true;
  HangingCallResult lost;
  lost.lost = true;
  return lost;
}

bool HelperChannel::Start(const HangingCall& call) {
  const std::optional<std::string> request = EncodeRequest(call);
  if (broken_ || !request) return false;
  ssize_t sent = -1;
  do {
    sent = send(socket_, request->data(), request->size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  } while (sent < 0 && errno == EINTR);
  if (sent < 0 && errno != EAGAIN) Broken();
  return sent == static_cast<ssize_t>(request->size());
}

std::optional<HangingCallResult> HelperChannel::Collect(TimePoint deadline) {
  if (broken_) return Broken();
  char reply[kMaxReplyBytes + 1];
  for (;;) {
    const ssize_t n = recv(socket_, reply, sizeof reply, MSG_DONTWAIT);
    if (n > 0) {
      std::optional<HangingCallResult> result = DecodeReply({reply, static_cast<std::size_t>(n)});
      return result ? result : Broken();
    }
    if (n == 0) return Broken();  // the helper ended
    if (errno != EAGAIN && errno != EINTR) return Broken();
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd ready{socket_, POLLIN, 0};
    poll(&ready, 1, static_cast<int>(std::min<std::chrono::milliseconds::rep>(left.count(), 60'000)));
  }
}

bool HeldChannel::Start(const HangingCall& /*call*/) {
  ++out_;
  return true;
}

std::optional<HangingCallResult> HeldChannel::Collect(TimePoint /*deadline*/) {
  if (out_ == 0 || stillHeld_()) return std::nullopt;
  --out_;
  HangingCallResult lost;
  lost.lost = true;
  return lost;
}

}  // namespace volumetra
