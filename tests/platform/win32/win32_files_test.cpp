#include "platform/win32/win32_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/win32/wide_files.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "support/fake_machine.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

TEST(Win32Files, TheExecutablesDirectoryAndNameComeFromItsPath) {
  Win32Files files("C:\\Programs\\Tools\\Vmetra32.exe");
  EXPECT_EQ(files.ExecutableDirectory(), "C:\\Programs\\Tools");
  EXPECT_EQ(files.ExecutableBaseName(), "Vmetra32");
  EXPECT_EQ(files.PathSeparator(), '\\');
  // At a drive's root the directory is the drive, so that directory, "\" and name make a path.
  Win32Files atRoot("D:\\volumetra.exe");
  EXPECT_EQ(atRoot.ExecutableDirectory(), "D:");
  EXPECT_EQ(atRoot.ExecutableBaseName(), "volumetra");
  EXPECT_EQ(Win32Files("C:\\a.b\\no extension").ExecutableBaseName(), "no extension");
}

TEST(Win32Files, TheProgramDirectoryIsTheExecutablesWhereItTakesFilesElseInTheRoamingFolder) {
  TempDir dir;
  const std::string roaming = dir.str() + "\\Roaming";
  ASSERT_TRUE(MakeDirectories(roaming));
  const std::string portable = dir.str() + "\\" + kPhotosFolder;
  ASSERT_TRUE(MakeDirectories(portable));
  Win32Files besideIt(portable + "\\volumetra.exe", roaming);
  EXPECT_EQ(besideIt.ProgramDirectory(), portable);
  EXPECT_TRUE(FileNamesIn(portable).empty());  // the test left nothing behind
  EXPECT_TRUE(FileNamesIn(roaming).empty());

  // A directory that does not exist takes no file either.
  Win32Files nowhere(dir.str() + "\\missing\\volumetra.exe", roaming);
  EXPECT_EQ(nowhere.ProgramDirectory(), roaming + "\\Volumetra");
  EXPECT_EQ(nowhere.ExecutableDirectory(), dir.str() + "\\missing");
  EXPECT_EQ(FileNamesIn(roaming), std::vector<std::string>{"Volumetra"});

  const std::string programs = dir.str() + "\\Programs";
  ASSERT_TRUE(MakeDirectories(programs));
  SealedDirectory seal(programs);
  if (!seal.sealed()) GTEST_SKIP() << "needs root: seals a directory with chattr +i";
  Win32Files installed(programs + "\\volumetra.exe", roaming);
  EXPECT_EQ(installed.ProgramDirectory(), roaming + "\\Volumetra");
  EXPECT_EQ(installed.ExecutableDirectory(), programs);
}

TEST(Win32Files, CanReplaceFileTriesWithoutLeavingAnythingAndSaysWhyNot) {
  TempDir dir;
  Win32Files files;
  const std::string folder = dir.str() + "\\" + kPhotosFolder;
  ASSERT_TRUE(MakeDirectories(folder));
  const std::string ini = folder + "\\volumetra.ini";
  std::string reason;
  EXPECT_TRUE(files.CanReplaceFile(ini, reason)) << reason;
  EXPECT_TRUE(FileNamesIn(folder).empty());
  ASSERT_TRUE(WriteBytes(ini, "[System]\r\n"));
  EXPECT_TRUE(files.CanReplaceFile(ini, reason)) << reason;
  EXPECT_EQ(FileNamesIn(folder), std::vector<std::string>{"volumetra.ini"});

  ASSERT_TRUE(SetFileAttributesW(Wide(ini).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(files.CanReplaceFile(ini, reason));
  EXPECT_EQ(reason, "read-only file");
  SetFileAttributesW(Wide(ini).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_FALSE(files.CanReplaceFile(folder, reason));
  EXPECT_EQ(reason, "not an ordinary file");
  EXPECT_FALSE(files.CanReplaceFile(folder + "\\missing\\volumetra.ini", reason));
  EXPECT_EQ(reason, SystemErrorText(ERROR_PATH_NOT_FOUND));

  const std::string programs = dir.str() + "\\Programs";
  ASSERT_TRUE(MakeDirectories(programs));
  ASSERT_TRUE(WriteBytes(programs + "\\volumetra.ini", "[System]\r\n"));
  SealedDirectory seal(programs);
  if (!seal.sealed()) GTEST_SKIP() << "needs root: seals a directory with chattr +i";
  for (const char* name : {"volumetra.ini", "other.ini"}) {
    EXPECT_FALSE(files.CanReplaceFile(programs + "\\" + name, reason)) << name;
    EXPECT_EQ(reason, SystemErrorText(ERROR_ACCESS_DENIED)) << name;
  }
  EXPECT_EQ(FileNamesIn(programs), std::vector<std::string>{"volumetra.ini"});
}

TEST(Win32Files, TheRunningExecutableIsFoundByItsModuleName) {
  Win32Files files;
  EXPECT_EQ(files.ExecutableBaseName(), "volumetra_win32_tests");
  EXPECT_TRUE(fs::exists(files.ProgramDirectory() + "\\volumetra_win32_tests.exe"));
}

TEST(Win32Files, SettingTheCurrentDirectorySetsTheDriveToo) {
  Win32Files files;
  const std::string before = files.CurrentDirectory();
  TempDir dir;
  const std::string photos = dir.str() + "\\" + kPhotosFolder;
  ASSERT_TRUE(MakeDirectories(photos));
  ASSERT_TRUE(files.SetCurrentDirectory(photos));
  EXPECT_EQ(files.CurrentDirectory(), photos);
  ASSERT_TRUE(files.SetCurrentDirectory("C:"));  // a program at a drive's root
  EXPECT_EQ(files.CurrentDirectory(), "C:\\");
  EXPECT_FALSE(files.SetCurrentDirectory(dir.str() + "\\missing"));
  ASSERT_TRUE(files.SetCurrentDirectory(before));
}

TEST(Win32Files, HiddenAndSystemFilesAndDirectoriesAreNoOrdinaryFiles) {
  TempDir dir;
  Win32Files files;
  const std::string plain = dir.str() + "\\plain.ini";
  std::ofstream(plain) << "[System]\n";
  EXPECT_TRUE(files.IsOrdinaryFile(plain));
  ASSERT_TRUE(SetFileAttributesA(plain.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_TRUE(files.IsOrdinaryFile(plain));
  ASSERT_TRUE(SetFileAttributesA(plain.c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_FALSE(files.IsOrdinaryFile(plain));
  ASSERT_TRUE(SetFileAttributesA(plain.c_str(), FILE_ATTRIBUTE_SYSTEM));
  EXPECT_FALSE(files.IsOrdinaryFile(plain));
  SetFileAttributesA(plain.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_FALSE(files.IsOrdinaryFile(dir.str()));
  EXPECT_FALSE(files.IsOrdinaryFile(dir.str() + "\\missing.ini"));
}

TEST(Win32Files, LinesAreAppendedWholeAndFailuresSayWhy) {
  TempDir dir;
  Win32Files files;
  const std::string log = dir.str() + "\\LOG.TXT";
  std::ofstream(log, std::ios::binary) << "old line\r\n";
  std::string error;
  ASSERT_TRUE(files.AppendLine(log, "first\r\n", error)) << error;
  ASSERT_TRUE(files.AppendLine(log, "second\r\n", error)) << error;
  EXPECT_EQ(FakeMachine::read(log), "old line\r\nfirst\r\nsecond\r\n");
  // Another writer appending meanwhile is never overwritten.
  HANDLE other = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(files.AppendLine(log, "third\r\n", error)) << error;
  DWORD written = 0;
  WriteFile(other, "other\r\n", 7, &written, nullptr);
  CloseHandle(other);
  EXPECT_EQ(FakeMachine::read(log), "old line\r\nfirst\r\nsecond\r\nthird\r\nother\r\n");

  EXPECT_FALSE(files.AppendLine(dir.str() + "\\missing\\LOG.TXT", "line\r\n", error));
  EXPECT_EQ(error, SystemErrorText(ERROR_PATH_NOT_FOUND));
  EXPECT_NE(error.back(), '\n');
  EXPECT_NE(error.back(), '.');
}

TEST(Win32Files, ALogDirectoryBeyondTheCodePageTakesTheLines) {
  TempDir dir;
  Win32Files files;
  const std::string photos = dir.str() + "\\" + kPhotosFolder;
  ASSERT_TRUE(MakeDirectories(photos));
  const std::string log = photos + "\\LOG.TXT";
  std::string error;
  ASSERT_TRUE(files.AppendLine(log, "first\r\n", error)) << error;
  ASSERT_TRUE(files.AppendLine(log, "second\r\n", error)) << error;
  EXPECT_EQ(ReadBytes(log), "first\r\nsecond\r\n");
  EXPECT_TRUE(files.IsOrdinaryFile(log));
  EXPECT_EQ(FileNamesIn(photos), std::vector<std::string>{"LOG.TXT"});
}

}  // namespace
}  // namespace volumetra
