#include "support/linux/test_fuse.h"

#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace volumetra {
namespace {

using namespace std::chrono_literals;

constexpr auto kMountWait = 10s;

// The mount point field of a mountinfo line is the fifth; spaces in it are written \040.
bool IsMountedFuse(const std::string& mountPoint) {
  std::string escaped;
  for (char c : mountPoint) escaped += c == ' ' ? std::string("\\040") : std::string(1, c);
  std::ifstream table("/proc/self/mountinfo");
  std::string line;
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string id, parent, device, root, point;
    fields >> id >> parent >> device >> root >> point;
    if (point == escaped && line.find(" - fuse.") != std::string::npos) return true;
  }
  return false;
}

// A mountinfo field with its octal escapes (\040 for a space) decoded.
std::string Unescaped(const std::string& field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      text += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

}  // namespace

std::vector<pid_t> ProcessesRunning(const std::string& executable) {
  std::error_code ec;
  const auto wanted = std::filesystem::canonical(executable, ec);
  const auto namespaceOf = [](const std::string& pid) {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/" + pid + "/ns/mnt", error).string();
  };
  const std::string ours = namespaceOf("self");
  std::vector<pid_t> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string pid = entry.path().filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    if (std::filesystem::read_symlink(entry.path() / "exe", error) == wanted && namespaceOf(pid) == ours)
      found.push_back(static_cast<pid_t>(std::stoi(pid)));
  }
  return found;
}

bool EnterPrivateMountNamespace() {
  if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return false;
  std::ifstream table("/proc/self/mountinfo");
  std::vector<std::string> fuse;
  for (std::string line; std::getline(table, line);) {
    const std::size_t separator = line.find(" - ");
    if (separator == std::string::npos) continue;
    std::istringstream fields(line), tail(line.substr(separator + 3));
    std::string id, parent, device, root, point, type;
    fields >> id >> parent >> device >> root >> point;
    tail >> type;
    if (type == "fuse" || type == "fuseblk" || type.starts_with("fuse.")) fuse.push_back(Unescaped(point));
  }
  for (auto it = fuse.rbegin(); it != fuse.rend(); ++it) umount2(it->c_str(), MNT_DETACH);
  return true;
}

std::string TestFuse::Unavailable(const std::string& server) {
  if (geteuid() != 0) return "needs root to mount a FUSE file system";
  if (access("/dev/fuse", R_OK | W_OK) != 0) return "no /dev/fuse on this machine";
  if (server.empty() || access(server.c_str(), X_OK) != 0)
    return "the test FUSE file system was not built (libfuse3-dev)";
  return {};
}

TestFuse::TestFuse(const std::string& server, std::string mountPoint)
    : mountPoint_(std::move(mountPoint)), silence_(mountPoint_ + ".silent") {
  std::string program = server;
  std::string point = mountPoint_;
  std::string silence = silence_;
  char* arguments[] = {program.data(), point.data(), silence.data(), nullptr};
  if (posix_spawn(&pid_, server.c_str(), nullptr, nullptr, arguments, environ) != 0) {
    pid_ = -1;
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + kMountWait;
  while (!(mounted_ = IsMountedFuse(mountPoint_)) && std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    std::this_thread::sleep_for(5ms);
  }
}

TestFuse::~TestFuse() {
  if (pid_ < 0) return;
  AnswerAgain();
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  if (IsMountedFuse(mountPoint_)) umount2(mountPoint_.c_str(), MNT_DETACH);
}

void TestFuse::StopAnswering() {
  std::ofstream(silence_).close();
}

void TestFuse::AnswerAgain() {
  unlink(silence_.c_str());
}

}  // namespace volumetra
