#include "platform/linux/linux_files.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/ini_file_access.h"
#include "platform/linux/desktop_entry.h"
#include "platform/linux/scoped_variable.h"
#include "platform/linux/scratch_mounts.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

std::string Content(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(LinuxFiles, AppendLineAddsWholeLinesAndCreatesTheFile) {
  TempDir scratch;
  LinuxFiles files;
  const std::string log = scratch.str() + "/LOG.TXT";
  std::string error;
  EXPECT_TRUE(files.AppendLine(log, "08.12.2026 17:15:44 C: 1234.5 \r\n", error));
  EXPECT_TRUE(files.AppendLine(log, "08.12.2026 17:15:44 D: 99 \r\n", error));
  EXPECT_EQ(Content(log), "08.12.2026 17:15:44 C: 1234.5 \r\n08.12.2026 17:15:44 D: 99 \r\n");
  EXPECT_TRUE(files.IsOrdinaryFile(log));
}

TEST(LinuxFiles, AppendLineReportsTheSystemsReason) {
  TempDir scratch;
  LinuxFiles files;
  std::string error;
  EXPECT_FALSE(files.AppendLine(scratch.str(), "line\n", error));
  EXPECT_EQ(error, "Is a directory");
  EXPECT_FALSE(files.AppendLine(scratch.str() + "/missing/LOG.TXT", "line\n", error));
  EXPECT_EQ(error, "No such file or directory");
}

TEST(LinuxFiles, AShortWriteNeverCutsTheFileAndTheNextLineStartsOnItsOwn) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root: mounts a small tmpfs to fill it";
  TempDir scratch;
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
  TempDir scratch;
  LinuxFiles files(scratch.str() + "/volumetra");
  EXPECT_EQ(files.ProgramDirectory(), scratch.str());
  EXPECT_EQ(files.ExecutableBaseName(), "volumetra");
}

TEST(LinuxFiles, ProgramDirectoryFallsBackToTheUsersConfigurationDirectory) {
  TempDir scratch;
  const std::string unwritable = "/proc/volumetra-nowhere/volumetra.bin";
  {
    ScopedVariable config("XDG_CONFIG_HOME", scratch.str() + "/config");
    LinuxFiles files(unwritable);
    EXPECT_EQ(files.ProgramDirectory(), scratch.str() + "/config/volumetra");
    EXPECT_TRUE(std::filesystem::is_directory(scratch.str() + "/config/volumetra"));
    EXPECT_EQ(files.ExecutableBaseName(), "volumetra");
  }
  {
    ScopedVariable relative("XDG_CONFIG_HOME", "relative/config");
    ScopedVariable home("HOME", scratch.str() + "/home");
    LinuxFiles files(unwritable);
    EXPECT_EQ(files.ProgramDirectory(), scratch.str() + "/home/.config/volumetra");
    EXPECT_TRUE(std::filesystem::is_directory(scratch.str() + "/home/.config/volumetra"));
  }
}

TEST(LinuxFiles, ThisExecutableAndCurrentDirectory) {
  TempDir scratch;
  LinuxFiles files;
  EXPECT_EQ(files.ExecutableBaseName(), "volumetra_linux_tests");
  EXPECT_EQ(files.PathSeparator(), '/');

  const std::string before = files.CurrentDirectory();
  ASSERT_TRUE(files.SetCurrentDirectory(scratch.str()));
  EXPECT_EQ(files.CurrentDirectory(), scratch.str());
  EXPECT_FALSE(files.SetCurrentDirectory(scratch.str() + "/missing"));
  EXPECT_EQ(files.CurrentDirectory(), scratch.str());
  ASSERT_TRUE(files.SetCurrentDirectory(before));

  EXPECT_FALSE(files.IsOrdinaryFile(scratch.str()));
  EXPECT_FALSE(files.IsOrdinaryFile(scratch.str() + "/missing"));
}

TEST(LinuxFiles, AnInstalledCopyKeepsItsSettingsInTheConfigurationDirectory) {
  TempDir scratch;
  ScopedVariable config("XDG_CONFIG_HOME", scratch.str() + "/config");
  const std::string bin = scratch.MakeDirectory("prefix/bin");
  {
    LinuxFiles files(bin + "/volumetra");
    EXPECT_EQ(files.ProgramDirectory(), bin);  // writable and not installed: portable use
  }
  const std::string entries = scratch.MakeDirectory("prefix/share/applications");
  std::ofstream(entries + "/" + kDesktopId + ".desktop") << "[Desktop Entry]\n";
  LinuxFiles files(bin + "/volumetra");
  EXPECT_EQ(files.ProgramDirectory(), scratch.str() + "/config/volumetra");
  EXPECT_EQ(files.ExecutableDirectory(), bin);
}

std::vector<std::string> Names(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory))
    names.push_back(entry.path().filename().string());
  return names;
}

TEST(LinuxFiles, CanReplaceFileWhereTheDirectoryTakesNewFilesAndLeavesNothingBehind) {
  TempDir scratch;
  LinuxFiles files;
  const std::string ini = scratch.str() + "/volumetra.ini";
  std::string reason;
  EXPECT_TRUE(files.CanReplaceFile(ini, reason)) << reason;
  EXPECT_TRUE(Names(scratch.str()).empty());
  std::ofstream(ini) << "[System]\n";
  EXPECT_TRUE(files.CanReplaceFile(ini, reason)) << reason;
  EXPECT_EQ(Names(scratch.str()), std::vector<std::string>{"volumetra.ini"});
  EXPECT_EQ(Content(ini), "[System]\n");
}

TEST(LinuxFiles, CanReplaceFileSaysWhyNot) {
  TempDir scratch;
  LinuxFiles files;
  std::string reason;
  EXPECT_FALSE(files.CanReplaceFile(scratch.str() + "/missing/volumetra.ini", reason));
  EXPECT_EQ(reason, "No such file or directory");
  const std::string directory = scratch.MakeDirectory("volumetra.ini");
  EXPECT_FALSE(files.CanReplaceFile(directory, reason));
  EXPECT_EQ(reason, "not an ordinary file");
  std::ofstream(scratch.str() + "/plain") << "x";
  EXPECT_FALSE(files.CanReplaceFile(scratch.str() + "/plain/volumetra.ini", reason));
  EXPECT_EQ(reason, "Not a directory");
}

TEST(LinuxFiles, ReadOnlyFileSystemBesideTheExecutable) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root: mounts a read-only tmpfs";
  TempDir scratch;
  const std::string medium = scratch.MakeDirectory("medium");
  const std::string writable = scratch.MakeDirectory("writable");
  std::ofstream(writable + "/volumetra.ini") << "[System]\n";
  ScratchMounts mounts;
  ASSERT_TRUE(mounts.MountTmpfs(medium, "size=64k"));
  std::ofstream(medium + "/volumetra.ini") << "[System]\nLanguage=Deutsch\n";
  std::filesystem::create_symlink(writable + "/volumetra.ini", medium + "/linked.ini");
  ASSERT_EQ(mount(nullptr, medium.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);

  ScopedVariable config("XDG_CONFIG_HOME", scratch.str() + "/config");
  LinuxFiles files(medium + "/volumetra");
  EXPECT_EQ(files.ProgramDirectory(), scratch.str() + "/config/volumetra");
  EXPECT_EQ(files.ExecutableDirectory(), medium);
  std::string reason;
  EXPECT_FALSE(files.CanReplaceFile(medium + "/volumetra.ini", reason));
  EXPECT_EQ(reason, "Read-only file system");
  // A save through a link lands in the linked file's directory, which is writable.
  EXPECT_TRUE(files.CanReplaceFile(medium + "/linked.ini", reason)) << reason;
}

// With the executable's directory and the configuration directory both unwritable, the reason
// names the configuration directory that could not be made, not a missing file.
TEST(LinuxFiles, NoWritableDirectoryAtAllSaysWhichCouldNotBeMade) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root: mounts a read-only tmpfs";
  TempDir scratch;
  const std::string medium = scratch.MakeDirectory("medium");
  ScratchMounts mounts;
  ASSERT_TRUE(mounts.MountTmpfs(medium, "size=64k"));
  ASSERT_EQ(mount(nullptr, medium.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);

  ScopedVariable config("XDG_CONFIG_HOME", medium + "/config");
  LinuxFiles files(medium + "/volumetra");
  const std::string directory = medium + "/config/volumetra";
  ASSERT_EQ(files.ProgramDirectory(), directory);
  std::string reason;
  EXPECT_FALSE(files.CanReplaceFile(directory + "/volumetra.ini", reason));
  EXPECT_EQ(reason, "cannot create " + directory + ": Read-only file system");
}

// A read-only settings file is left as it is, and the start-up check says so.
TEST(LinuxFiles, AReadOnlySettingsFileIsNeitherReplacedNorSaidToBeReplaceable) {
  TempDir scratch;
  const std::string ini = scratch.str() + "/volumetra.ini";
  std::ofstream(ini) << "[System]\nLanguage=Dansk\n";
  ASSERT_EQ(chmod(ini.c_str(), 0444), 0);
  LinuxFiles files;
  std::string reason;
  EXPECT_FALSE(files.CanReplaceFile(ini, reason));
  EXPECT_EQ(reason, "read-only file");
  EXPECT_FALSE(ini_file::Replace(ini, "[System]\nLanguage=Deutsch\n", nullptr));
  EXPECT_EQ(Content(ini), "[System]\nLanguage=Dansk\n");
  EXPECT_EQ(Names(scratch.str()), std::vector<std::string>{"volumetra.ini"});
  struct stat info {};
  ASSERT_EQ(stat(ini.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0444u);
}

// As root every permission is granted, so a child process of an ordinary user asks there.
TEST(LinuxFiles, CanReplaceFileWithoutThePermissionToAddFiles) {
  TempDir scratch;
  const std::string sealed = scratch.MakeDirectory("sealed");
  ASSERT_EQ(chmod(scratch.str().c_str(), 0711), 0);
  ASSERT_EQ(chmod(sealed.c_str(), 0555), 0);
  const auto ask = [&] {
    LinuxFiles files;
    std::string reason;
    return !files.CanReplaceFile(sealed + "/volumetra.ini", reason) && reason == "Permission denied";
  };
  if (geteuid() != 0) {
    EXPECT_TRUE(ask());
    return;
  }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
    _exit(ask() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the check passed or gave another reason; 2: no ordinary user";
}

}  // namespace
}  // namespace volumetra
