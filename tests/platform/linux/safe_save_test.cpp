// Saves of whole files on real file systems: the new content takes the file's place in one step,
// under no other name, and a killed or failed save leaves the old file and nothing beside it.
#include "platform/linux/safe_save.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "platform/ini_temporaries.h"
#include "platform/linux/scratch_mounts.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

std::string Content(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> NamesIn(const std::string& directory) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

// Sets the process's umask for its scope.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
  ~ScopedUmask() { ::umask(old_); }

 private:
  mode_t old_;
};

// From here on open(O_TMPFILE) fails in this process with EOPNOTSUPP, as on a file system without
// unnamed files (FAT, NFS) or an older kernel. False when the filter cannot be installed.
bool DenyUnnamedFiles() {
  constexpr std::uint32_t kTmpfileBit = 020000000;  // the bit of O_TMPFILE beyond O_DIRECTORY
  sock_filter program[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),  // flags, low half
      BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, kTmpfileBit, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  const sock_fprog filter{static_cast<unsigned short>(std::size(program)), program};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

// The id of a process that has ended.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST(SafeSave, ANewFileTakesItsNameOnlyWhenCompleteWithTheModeLessTheUmask) {
  const TempDir scratch;
  const std::string path = scratch.str() + "/new.ini";
  const ScopedUmask mask(022);
  std::vector<std::string> namesBefore{"unset"};
  SafeSaveOptions options;
  options.beforeReplace = [&] { namesBefore = NamesIn(scratch.str()); };
  std::string error;
  ASSERT_TRUE(SaveSafely(path, "[System]\n", options, &error)) << error;
  EXPECT_EQ(namesBefore, std::vector<std::string>{});  // written, synced, and still no name
  EXPECT_EQ(Content(path), "[System]\n");
  EXPECT_EQ(ModeOf(path), 0644u);
  EXPECT_EQ(NamesIn(scratch.str()), std::vector<std::string>{"new.ini"});

  const std::string privateFile = scratch.str() + "/private";
  ASSERT_TRUE(SaveSafely(privateFile, "x", {.newFileMode = 0600}));
  EXPECT_EQ(ModeOf(privateFile), 0600u);
}

TEST(SafeSave, AReplacedFileKeepsItsModeAndTheNewContentHasNoOtherName) {
  const TempDir scratch;
  const std::string path = scratch.str() + "/volumetra.ini";
  std::ofstream(path) << "old";
  ::chmod(path.c_str(), 0604);
  struct stat before {};
  ::stat(path.c_str(), &before);
  std::vector<std::string> namesBefore;
  std::string contentBefore;
  SafeSaveOptions options;
  options.beforeReplace = [&] {
    namesBefore = NamesIn(scratch.str());
    contentBefore = Content(path);
  };
  ASSERT_TRUE(SaveSafely(path, "new", options));
  EXPECT_EQ(namesBefore, std::vector<std::string>{"volumetra.ini"});
  EXPECT_EQ(contentBefore, "old");
  EXPECT_EQ(Content(path), "new");
  EXPECT_EQ(ModeOf(path), 0604u);
  struct stat after {};
  ::stat(path.c_str(), &after);
  EXPECT_NE(after.st_ino, before.st_ino);  // a new file, not the old one rewritten
  EXPECT_EQ(NamesIn(scratch.str()), std::vector<std::string>{"volumetra.ini"});
}

TEST(SafeSave, AProcessKilledInTheSaveLeavesTheOldFileAndNothingElse) {
  GTEST_FLAG_SET(death_test_style, "fast");  // the child saves into this test's directory
  const TempDir scratch;
  const std::string path = scratch.str() + "/volumetra.ini";
  std::ofstream(path) << "old";
  // The only SIGKILL is the one raised inside the save, once the new content is on disk.
  EXPECT_EXIT(
      {
        SaveSafely(path, "new", {.beforeReplace = [] { std::raise(SIGKILL); }});
        std::exit(0);
      },
      ::testing::KilledBySignal(SIGKILL), "");
  EXPECT_EQ(Content(path), "old");
  EXPECT_EQ(NamesIn(scratch.str()), std::vector<std::string>{"volumetra.ini"});
}

TEST(SafeSave, RemovesWhatSavesOfEndedProcessesLeftAndNothingElse) {
  const TempDir scratch;
  const std::string path = scratch.str() + "/volumetra.ini";
  std::ofstream(path) << "old";
  const std::string ended = ini_file::NewTemporaryName(path, static_cast<std::uint32_t>(EndedProcess()));
  const std::string running = ini_file::NewTemporaryName(path, static_cast<std::uint32_t>(::getppid()));
  const std::string otherFile = ini_file::NewTemporaryName(scratch.str() + "/other.ini", 1);
  for (const std::string& name : {ended, running, otherFile}) std::ofstream(name) << "left";
  ASSERT_TRUE(SaveSafely(path, "new"));
  EXPECT_FALSE(fs::exists(ended));
  EXPECT_TRUE(fs::exists(running));  // its save may still be under way
  EXPECT_TRUE(fs::exists(otherFile));
  EXPECT_EQ(Content(path), "new");
}

TEST(SafeSave, AFileThatCannotBeMadeFailsWithTheReasonAndLeavesNothing) {
  const TempDir scratch;
  std::string error;
  EXPECT_FALSE(SaveSafely(scratch.str() + "/missing/volumetra.ini", "x", {}, &error));
  EXPECT_EQ(error, "No such file or directory");
  const std::string directory = scratch.MakeDirectory("dir.ini");
  EXPECT_FALSE(SaveSafely(directory, "x", {}, &error));
  EXPECT_TRUE(fs::is_directory(directory));
  EXPECT_EQ(NamesIn(scratch.str()), std::vector<std::string>{"dir.ini"});
}

TEST(SafeSave, AFullDiskFailsWithTheReasonAndLeavesTheOldFileAlone) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root: mounts a small tmpfs to fill it";
  const TempDir scratch;
  const std::string directory = scratch.MakeDirectory("full");
  ScratchMounts mounts;
  ASSERT_TRUE(mounts.MountTmpfs(directory, "size=16k"));
  const std::string path = directory + "/volumetra.ini";
  std::ofstream(path) << "[System]\nLanguage=English\n";
  std::string error;
  EXPECT_FALSE(SaveSafely(path, std::string(64 * 1024, 'x'), {}, &error));
  EXPECT_EQ(error, "No space left on device");
  EXPECT_EQ(Content(path), "[System]\nLanguage=English\n");
  EXPECT_EQ(NamesIn(directory), std::vector<std::string>{"volumetra.ini"});
  // With room for it, the same save succeeds.
  ASSERT_TRUE(SaveSafely(path, "[System]\nLanguage=Dansk\n", {}, &error)) << error;
  EXPECT_EQ(Content(path), "[System]\nLanguage=Dansk\n");
}

TEST(SafeSave, WhereNoUnnamedFilesCanBeMadeASaveWorksAndWhatAKilledOneLeftGoesWithTheNext) {
  GTEST_FLAG_SET(death_test_style, "fast");
  const TempDir scratch;
  const std::string path = scratch.str() + "/volumetra.ini";
  std::ofstream(path) << "old";
  const auto onlyTheFile = [&] {
    return NamesIn(scratch.str()) == std::vector<std::string>{"volumetra.ini"};
  };
  EXPECT_EXIT(
      {
        if (!DenyUnnamedFiles()) std::exit(2);
        const int unnamed = ::open(scratch.str().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (unnamed >= 0 || errno != EOPNOTSUPP) std::exit(3);
        std::exit(SaveSafely(path, "middle") && onlyTheFile() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(Content(path), "middle");

  EXPECT_EXIT(
      {
        DenyUnnamedFiles();
        SaveSafely(path, "new", {.beforeReplace = [] { std::raise(SIGKILL); }});
        std::exit(0);
      },
      ::testing::KilledBySignal(SIGKILL), "");
  EXPECT_EQ(Content(path), "middle");
  const std::vector<std::string> left = NamesIn(scratch.str());
  ASSERT_EQ(left.size(), 2u);  // the killed save's complete file, under a name the sweep knows
  EXPECT_NE(ini_file::TemporaryWriter(left[1], ini_file::TemporaryPrefix("volumetra.ini")), 0u) << left[1];
  EXPECT_EQ(Content(scratch.str() + "/" + left[1]), "new");

  ASSERT_TRUE(SaveSafely(path, "newer"));
  EXPECT_EQ(Content(path), "newer");
  EXPECT_TRUE(onlyTheFile());
}

}  // namespace
}  // namespace volumetra
