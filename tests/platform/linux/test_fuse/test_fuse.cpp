// A small FUSE file system for the tests: an empty root directory on a volume of 1 GiB, of which
// half is free, served like a network share. While the file SILENCE exists, it answers nothing,
// as a dead server: every request it takes waits until the file is gone. It ends on SIGTERM,
// SIGINT or SIGHUP, or when the process that started it ends, and unmounts.
//
// Usage: volumetra_test_fuse MOUNTPOINT SILENCE [fuse options...]
#define FUSE_USE_VERSION 31

#include <fuse.h>
#include <fuse_lowlevel.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned long kBlockSize = 4096;
constexpr fsblkcnt_t kBlocks = 262'144;  // 1 GiB
constexpr fsblkcnt_t kFreeBlocks = kBlocks / 2;
constexpr useconds_t kPollMicroseconds = 2000;

const char* gSilence = nullptr;

// A request taken while silent waits until the file system answers again or ends.
void WaitWhileSilent() {
  fuse_session* session = fuse_get_session(fuse_get_context()->fuse);
  while (access(gSilence, F_OK) == 0 && !fuse_session_exited(session)) usleep(kPollMicroseconds);
}

int GetAttr(const char* path, struct stat* st, fuse_file_info*) {
  WaitWhileSilent();
  std::memset(st, 0, sizeof *st);
  if (std::strcmp(path, "/") != 0) return -ENOENT;
  st->st_mode = S_IFDIR | 0755;
  st->st_nlink = 2;
  return 0;
}

int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags) {
  WaitWhileSilent();
  if (std::strcmp(path, "/") != 0) return -ENOENT;
  fill(buffer, ".", nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
  fill(buffer, "..", nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
  return 0;
}

int StatFs(const char*, struct statvfs* st) {
  WaitWhileSilent();
  std::memset(st, 0, sizeof *st);
  st->f_bsize = st->f_frsize = kBlockSize;
  st->f_blocks = kBlocks;
  st->f_bfree = st->f_bavail = kFreeBlocks;
  st->f_namemax = 255;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  gSilence = argv[2];
  // A test that dies leaves no server behind.
  const pid_t starter = getppid();
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != starter) return 1;
  fuse_operations operations{};
  operations.getattr = GetAttr;
  operations.readdir = ReadDir;
  operations.statfs = StatFs;
  // In the foreground, with a source that names a server.
  std::vector<char*> arguments = {
      argv[0], argv[1], const_cast<char*>("-f"), const_cast<char*>("-o"),
      const_cast<char*>("fsname=volumetra-test:/share,subtype=volumetra-test,max_threads=64")};
  for (int i = 3; i < argc; ++i) arguments.push_back(argv[i]);
  return fuse_main(static_cast<int>(arguments.size()), arguments.data(), &operations, nullptr);
}
