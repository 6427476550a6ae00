// The initialisation file's Windows file operations, through the profile: the atomic save with
// MoveFileExW, what a killed save leaves and how the next one clears it, paths beyond the ANSI
// code page, and paths that cannot work.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/ini_profile.h"
#include "platform/ini_temporaries.h"
#include "platform/win32/wide_files.h"
#include "platform/win32/windows_api.h"
#include "support/ini_profile_fixture.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

using IniFileAccessTest = IniProfileFixture;

TEST_F(IniFileAccessTest, ASaveReplacesTheFileInOneStepAndLeavesNoTemporaries) {
  writeFile("; kept\r\n[System]\r\nLanguage=English\r\n");
  bool bothExisted = false;
  profile.beforeReplace = [&] {
    bothExisted = filesInDir() == 2 && fileText().find("English") != std::string::npos;
  };
  ASSERT_EQ(set("System", "Language", "Deutsch"), 1);
  EXPECT_TRUE(bothExisted);
  EXPECT_EQ(fileText(), "; kept\r\n[System]\r\nLanguage=Deutsch\r\n");
  EXPECT_EQ(filesInDir(), 1);
}

// Saves `VOLUMETRA_KILLED_SAVE` and is killed where the new file is complete beside the old one:
// run as a process of its own by the test below, skipped otherwise.
TEST(IniFileAccessChild, SavesAndIsKilledBeforeTheReplacement) {
  const char* path = std::getenv("VOLUMETRA_KILLED_SAVE");
  if (!path) GTEST_SKIP() << "run by AProcessKilledInMidSaveLeavesTheOldFileAndTheNextSaveClearsUp";
  IniProfile profile;
  profile.beforeReplace = [] { TerminateProcess(GetCurrentProcess(), 9); };
  profile.WritePrivateProfileString("System", "Language", "Deutsch", path);
  FAIL() << "not killed";
}

TEST_F(IniFileAccessTest, AProcessKilledInMidSaveLeavesTheOldFileAndTheNextSaveClearsUp) {
  writeFile("[System]\r\nLanguage=English\r\n");
  const std::string before = fileText();
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self + "\" --gtest_filter=IniFileAccessChild.*";
  SetEnvironmentVariableA("VOLUMETRA_KILLED_SAVE", path.c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &child));
  SetEnvironmentVariableA("VOLUMETRA_KILLED_SAVE", nullptr);
  WaitForSingleObject(child.hProcess, 60000);
  DWORD exitCode = 0;
  GetExitCodeProcess(child.hProcess, &exitCode);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  ASSERT_EQ(exitCode, 9u);

  EXPECT_EQ(fileText(), before);
  ASSERT_EQ(filesInDir(), 2);  // the finished temporary file of the killed save
  EXPECT_EQ(get("System", "Language"), "English");
  ASSERT_EQ(set("System", "Language", "Dansk"), 1);
  EXPECT_EQ(fileText(), "[System]\r\nLanguage=Dansk\r\n");
  EXPECT_EQ(filesInDir(), 1);  // the next save removed what the killed one left
}

TEST_F(IniFileAccessTest, TemporariesLeftByAnEndedProcessOfThisIdNeitherBlockTheSaveNorStay) {
  writeFile("[System]\r\nLanguage=English\r\n");
  leaveTemporariesOfProcessId(GetCurrentProcessId());
  ASSERT_EQ(filesInDir(), 3);
  ASSERT_EQ(set("System", "Language", "Dansk"), 1);
  EXPECT_EQ(fileText(), "[System]\r\nLanguage=Dansk\r\n");
  EXPECT_EQ(filesInDir(), 1);
}

TEST_F(IniFileAccessTest, AFolderBeyondTheCodePageIsSavedToAndClearedLikeAnyOther) {
  const std::string folder = dir.str() + "\\" + kPhotosFolder;
  ASSERT_TRUE(MakeDirectories(folder));
  const std::string ini = folder + "\\volumetra.ini";
  ASSERT_TRUE(WriteBytes(ini, "[System]\r\nLanguage=English\r\n"));
  ASSERT_TRUE(
      WriteBytes(ini_file::NewTemporaryName(ini, GetCurrentProcessId()), "[System]\r\nLanguage=Killed\r\n"));
  ASSERT_EQ(FileNamesIn(folder).size(), 2u);
  // What the killed save left is gone before this save replaces the file: the old file and this
  // save's temporary are all there is then.
  bool bothExisted = false;
  profile.beforeReplace = [&] { bothExisted = FileNamesIn(folder).size() == 2; };
  ASSERT_EQ(profile.WritePrivateProfileString("System", "Language", "Dansk", ini), 1);
  EXPECT_TRUE(bothExisted);
  EXPECT_EQ(ReadBytes(ini), "[System]\r\nLanguage=Dansk\r\n");
  EXPECT_EQ(FileNamesIn(folder), std::vector<std::string>{"volumetra.ini"});
}

TEST_F(IniFileAccessTest, AReadOnlyFileIsLeftAsItIs) {
  writeFile("[System]\r\nLanguage=English\r\n");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(set("System", "Language", "Deutsch"), 0);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(fileText(), "[System]\r\nLanguage=English\r\n");
  EXPECT_EQ(filesInDir(), 1);
}

TEST_F(IniFileAccessTest, AHiddenFileStaysHidden) {
  writeFile("[System]\r\nLanguage=English\r\n");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_EQ(set("System", "Language", "Deutsch"), 1);
  EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(IniFileAccessTest, PathsThatCannotWorkFailWithoutHarm) {
  // A file where a directory of the path should be, and a directory with the file's name.
  writeFile("not a directory");
  EXPECT_EQ(profile.WritePrivateProfileString("System", "Language", "English", path + "\\volumetra.ini"), 0);
  EXPECT_EQ(fileText(), "not a directory");
  const std::string directory = dir.str() + "\\dir.ini";
  fs::create_directory(directory);
  EXPECT_EQ(profile.WritePrivateProfileString("System", "Language", "English", directory), 0);
  EXPECT_TRUE(fs::is_directory(directory));
  // A missing directory is a missing file: the default is read, and nothing can be written there.
  std::string buffer;
  EXPECT_EQ(
      profile.GetPrivateProfileString("System", "Language", "none", buffer, 255, dir.str() + "\\no\\x.ini"),
      4);
  EXPECT_EQ(profile.WritePrivateProfileString("System", "Language", "English", dir.str() + "\\no\\x.ini"), 0);
}

}  // namespace
}  // namespace volumetra
