// The initialisation file's POSIX file operations, through the profile: reads that never block,
// replacements that keep mode and links, and saves that a kill cannot tear.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "platform/ini_profile.h"
#include "support/ini_profile_fixture.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

using IniFileAccessTest = IniProfileFixture;

TEST_F(IniFileAccessTest, AFifoOfTheFilesNameIsNeitherReadNorReplaced) {
  ::mkfifo(path.c_str(), 0600);  // would block a plain open for reading
  EXPECT_EQ(get("System", "Language"), "none");
  EXPECT_EQ(set("System", "Language", "Dansk"), 0);
  EXPECT_EQ(fs::status(path).type(), fs::file_type::fifo);
}

TEST_F(IniFileAccessTest, AWriteThatCannotBeMadeFailsWithoutThrowing) {
  writeFile("[System]\n");
  const std::string underFile = path + "/sub/volumetra.ini";  // fails even for root
  EXPECT_EQ(profile.WritePrivateProfileString("System", "Language", "English", underFile), 0);
  // No file there yet, and no file can be made there.
  const std::string inProc = "/proc/volumetra-settings-test.ini";
  EXPECT_EQ(profile.WritePrivateProfileString("System", "Language", "English", inProc), 0);
  EXPECT_FALSE(fs::exists(inProc));
  // A directory of that name cannot be read, so it is not replaced by a one-key file.
  const std::string directory = dir.str() + "/dir.ini";
  fs::create_directory(directory);
  EXPECT_EQ(profile.WritePrivateProfileString("System", "Language", "English", directory), 0);
  EXPECT_TRUE(fs::is_directory(directory));
}

TEST_F(IniFileAccessTest, AReplacementKeepsModeAndLinksAndSkipsUnchangedFiles) {
  const std::string real = dir.str() + "/real.ini";
  std::ofstream(real) << "[System]\nLanguage=English\n";
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(real, path);
  struct stat first {};
  ::stat(real.c_str(), &first);
  ASSERT_EQ(set("System", "Language", "English"), 1);
  struct stat unchanged {};
  ::stat(real.c_str(), &unchanged);
  EXPECT_EQ(unchanged.st_ino, first.st_ino);

  ASSERT_EQ(set("System", "Language", "Dansk"), 1);
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(FakeMachine::read(real), "[System]\nLanguage=Dansk\n");
  EXPECT_EQ(fs::status(real).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()),
            2);  // no temporaries
}

TEST_F(IniFileAccessTest, AProcessKilledInMidWriteLeavesTheOldFileWhole) {
  // The "fast" style forks right here, so the child writes this test's file.
  GTEST_FLAG_SET(death_test_style, "fast");
  writeFile("[System]\nLanguage=English\nWindow1XPos=5\n");
  const std::string before = fileText();
  EXPECT_EXIT(
      {
        profile.beforeReplace = [] { std::raise(SIGKILL); };
        set("System", "Language", "Deutsch");
      },
      ::testing::KilledBySignal(SIGKILL), "");
  EXPECT_EQ(fileText(), before);
  // The finished new file had no name yet: nothing is left beside the old one.
  EXPECT_EQ(filesInDir(), 1);
  EXPECT_EQ(get("System", "Language"), "English");
  ASSERT_EQ(set("System", "Language", "Dansk"), 1);
  EXPECT_EQ(fileText(), "[System]\nLanguage=Dansk\nWindow1XPos=5\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(IniFileAccessTest, TemporariesLeftByAnEndedProcessOfThisIdNeitherBlockTheSaveNorStay) {
  writeFile("[System]\nLanguage=English\n");
  leaveTemporariesOfProcessId(static_cast<std::uint32_t>(::getpid()));
  ASSERT_EQ(filesInDir(), 3);
  ASSERT_EQ(set("System", "Language", "Dansk"), 1);
  EXPECT_EQ(fileText(), "[System]\nLanguage=Dansk\n");
  EXPECT_EQ(filesInDir(), 1);
}

TEST_F(IniFileAccessTest, AKillDuringACollectedSaveLeavesTheOldKeysAll) {
  GTEST_FLAG_SET(death_test_style, "fast");
  writeFile("[System]\nLanguage=English\nWindow1XPos=5\n");
  const std::string before = fileText();
  EXPECT_EXIT(
      {
        profile.beforeReplace = [] { std::raise(SIGKILL); };
        profile.BeginWrites();
        set("System", "Language", "Deutsch");
        set("System", "Window1XPos", "99");
        profile.CommitWrites();
      },
      ::testing::KilledBySignal(SIGKILL), "");
  EXPECT_EQ(fileText(), before);
}

}  // namespace
}  // namespace volumetra
