#include "platform/linux/linux_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/scratch_mounts.h"

namespace volumetra {
namespace {

std::string Content(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

/// Sets an environment variable for the scope, restoring the old value afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(LinuxFiles, AppendLineAddsWholeLinesAndCreatesTheFile) {
  ScratchDirectory scratch;
  LinuxFiles files;
  const std::string log = scratch.path() + "/LOG.TXT";
  std::string error;
  EXPECT_TRUE(files.AppendLine(log, "08.12.2026 17:15:44 C: 1234.5 \r\n", error));
  EXPECT_TRUE(files.AppendLine(log, "08.12.2026 17:15:44 D: 99 \r\n", error));
  EXPECT_EQ(Content(log), "08.12.2026 17:15:44 C: 1234.5 \r\n08.12.2026 17:15:44 D: 99 \r\n");
  EXPECT_TRUE(files.IsOrdinaryFile(log));
}

TEST(LinuxFiles, AppendLineReportsTheSystemsReason) {
  ScratchDirectory scratch;
  LinuxFiles files;
  std::string error;
  EXPECT_FALSE(files.AppendLine(scratch.path(), "line\n", error));
  EXPECT_EQ(error, "Is a directory");
  EXPECT_FALSE(files.AppendLine(scratch.path() + "/missing/LOG.TXT", "line\n", error));
  EXPECT_EQ(error, "No such file or directory");
}

TEST(LinuxFiles, AShortWriteNeverCutsTheFileAndTheNextLineStartsOnItsOwn) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root: mounts a small tmpfs to fill it";
  ScratchDirectory scratch;
  const std::string directory = scratch.MakeDirectory("full");
  ScratchMounts mounts;
  ASSERT_TRUE(mounts.MountTmpfs(directory, "size=16k"));
  const std::string filler = directory + "/filler";
  std::ofstream(filler) << std::string(4096, 'f');
  LinuxFiles files;
  const std::string log = directory + "/LOG.TXT";
  const std::string line = std::string(6998, 'x') + "\r\n";
  std::string error;
  ASSERT_TRUE(files.AppendLine(log, line, error)) << error;
  // The disk is full in the middle of the second line: the part that landed stays.
  EXPECT_FALSE(files.AppendLine(log, line, error));
  EXPECT_NE(error.find("short write"), std::string::npos) << error;
  const std::uintmax_t afterShortWrite = std::filesystem::file_size(log);
  EXPECT_GT(afterShortWrite, line.size());

  // Room again; another program appends a line of its own, then the program writes its next line.
  std::filesystem::remove(filler);
  std::ofstream(log, std::ios::app | std::ios::binary) << "other\r\n";
  ASSERT_TRUE(files.AppendLine(log, "next\r\n", error)) << error;
  const std::string text = Content(log);
  EXPECT_EQ(text.substr(0, line.size()), line);
  EXPECT_EQ(text.size(), afterShortWrite + 7 + 2 + 6);  // nothing was cut
  EXPECT_EQ(text.substr(afterShortWrite), "other\r\n\r\nnext\r\n");
  // A line that landed whole needs no new start before the next.
  ASSERT_TRUE(files.AppendLine(log, "last\r\n", error)) << error;
  EXPECT_EQ(Content(log).substr(text.size()), "last\r\n");
}

TEST(LinuxFiles, ProgramDirectoryIsBesideTheExecutableWhenWritable) {
  ScratchDirectory scratch;
  LinuxFiles files(scratch.path() + "/volumetra");
  EXPECT_EQ(files.ProgramDirectory(), scratch.path());
  EXPECT_EQ(files.ExecutableBaseName(), "volumetra");
}

TEST(LinuxFiles, ProgramDirectoryFallsBackToTheUsersConfigurationDirectory) {
  ScratchDirectory scratch;
  const std::string unwritable = "/proc/volumetra-nowhere/volumetra.bin";
  {
    ScopedVariable config("XDG_CONFIG_HOME", scratch.path() + "/config");
    LinuxFiles files(unwritable);
    EXPECT_EQ(files.ProgramDirectory(), scratch.path() + "/config/volumetra");
    EXPECT_TRUE(std::filesystem::is_directory(scratch.path() + "/config/volumetra"));
    EXPECT_EQ(files.ExecutableBaseName(), "volumetra");
  }
  {
    ScopedVariable relative("XDG_CONFIG_HOME", "relative/config");
    ScopedVariable home("HOME", scratch.path() + "/home");
    LinuxFiles files(unwritable);
    EXPECT_EQ(files.ProgramDirectory(), scratch.path() + "/home/.config/volumetra");
    EXPECT_TRUE(std::filesystem::is_directory(scratch.path() + "/home/.config/volumetra"));
  }
}

TEST(LinuxFiles, ThisExecutableAndCurrentDirectory) {
  ScratchDirectory scratch;
  LinuxFiles files;
  EXPECT_EQ(files.ExecutableBaseName(), "volumetra_linux_tests");
  EXPECT_EQ(files.PathSeparator(), '/');

  const std::string before = files.CurrentDirectory();
  ASSERT_TRUE(files.SetCurrentDirectory(scratch.path()));
  EXPECT_EQ(files.CurrentDirectory(), scratch.path());
  EXPECT_FALSE(files.SetCurrentDirectory(scratch.path() + "/missing"));
  EXPECT_EQ(files.CurrentDirectory(), scratch.path());
  ASSERT_TRUE(files.SetCurrentDirectory(before));

  EXPECT_FALSE(files.IsOrdinaryFile(scratch.path()));
  EXPECT_FALSE(files.IsOrdinaryFile(scratch.path() + "/missing"));
}

}  // namespace
}  // namespace volumetra
