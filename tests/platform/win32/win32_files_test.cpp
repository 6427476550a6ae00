#include "platform/win32/win32_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/windows_api.h"
#include "support/fake_machine.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

TEST(Win32Files, TheProgramDirectoryAndNameComeFromTheExecutablesPath) {
  Win32Files files("C:\\Programs\\Tools\\Vmetra32.exe");
  EXPECT_EQ(files.ProgramDirectory(), "C:\\Programs\\Tools");
  EXPECT_EQ(files.ExecutableBaseName(), "Vmetra32");
  EXPECT_EQ(files.PathSeparator(), '\\');
  // At a drive's root the directory is the drive, so that directory, "\" and name make a path.
  Win32Files atRoot("D:\\volumetra.exe");
  EXPECT_EQ(atRoot.ProgramDirectory(), "D:");
  EXPECT_EQ(atRoot.ExecutableBaseName(), "volumetra");
  EXPECT_EQ(Win32Files("C:\\a.b\\no extension").ExecutableBaseName(), "no extension");
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
  ASSERT_TRUE(files.SetCurrentDirectory(dir.str()));
  EXPECT_EQ(fs::path(files.CurrentDirectory()), fs::path(dir.str()));
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
  EXPECT_FALSE(error.empty());
  EXPECT_NE(error.back(), '\n');
}

}  // namespace
}  // namespace volumetra
