#include "platform/linux/letter_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/scoped_variable.h"
#include "platform/linux/scratch_mounts.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

KnownLetters Sample() {
  return {{'D', {"1b4e28ba-2fa1-11d2-883f-0016d3cca427", "/dev/sdb1", "/", "/media/data"}},
          {'G', {"", "server:/export", "/", "/mnt/odd\tname\nwith\\slash"}},
          {'Z', {"", "/dev/sdb1", "/sub dir", "/srv/bound"}}};
}

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(LetterFile, TextComesBackAsItWasWrittenOneLineALetter) {
  const std::string text = FormatLetterFile(Sample());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);  // a heading and three letters
  EXPECT_NE(text.find("G\t\tserver:/export\t/\t/mnt/odd\\tname\\nwith\\\\slash\n"), std::string::npos)
      << text;
  EXPECT_EQ(ParseLetterFile(text), Sample());
  EXPECT_EQ(ParseLetterFile(""), KnownLetters{});
}

TEST(LetterFile, ACorruptTextIsNoFile) {
  const std::string good = FormatLetterFile(Sample());
  for (const std::string& bad : {
           good.substr(0, good.size() - 3),         // cut off mid-line
           std::string("C\t\t/dev/sda1\t/\t/\n"),   // C is the root's
           std::string("d\t\t/dev/sda1\t/\t/x\n"),  // not a letter D to Z
           std::string("DE\t\t/dev/sda1\t/\t/x\n"),
           std::string("D\t\t/dev/sda1\t/\n"),                       // a field missing
           std::string("D\t\t/dev/sda1\t/\t/x\textra\n"),            // one too many
           std::string("D\t\t/dev/sda1\t/\t\n"),                     // no mount point
           std::string("D\t\t/dev/sda\\q1\t/\t/x\n"),                // an unknown escape
           std::string("D\t\t/dev/a\t/\t/x\nD\t\t/dev/b\t/\t/y\n"),  // a letter twice
           std::string("D\t\t") + std::string(kMaxLetterFileField + 1, 's') + "\t/\t/x\n",
       }) {
    EXPECT_EQ(ParseLetterFile(bad), std::nullopt) << bad;
  }
}

TEST(LetterFile, LeavesOutAVolumeTooLongToKeep) {
  KnownLetters letters = Sample();
  letters['E'] = {"", "/dev/sdc1", "/", "/mnt/" + std::string(kMaxLetterFileField, 'm')};
  EXPECT_EQ(ParseLetterFile(FormatLetterFile(letters)), Sample());
}

TEST(LetterFile, WritesInOneStepIntoANewDirectoryAndReadsBack) {
  const TempDir scratch;
  const std::string path = scratch.str() + "/state/volumetra/drive-letters";
  EXPECT_EQ(ReadLetterFile(path), std::nullopt);  // missing
  ASSERT_TRUE(WriteLetterFile(path, Sample()));
  EXPECT_EQ(ReadLetterFile(path), Sample());
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::status(scratch.str() + "/state/volumetra").permissions() & fs::perms::all,
            fs::perms::owner_all);

  KnownLetters fewer = Sample();
  fewer.erase('G');
  ASSERT_TRUE(WriteLetterFile(path, fewer));
  EXPECT_EQ(ReadLetterFile(path), fewer);
  // Nothing but the file is left in its directory.
  EXPECT_EQ(
      std::distance(fs::directory_iterator(scratch.str() + "/state/volumetra"), fs::directory_iterator()), 1);
}

TEST(LetterFile, ATooLargeOrCorruptFileReadsAsNone) {
  const TempDir scratch;
  const std::string path = scratch.str() + "/drive-letters";
  std::ofstream(path) << std::string(kMaxLetterFileBytes + 1, '#');
  EXPECT_EQ(ReadLetterFile(path), std::nullopt);
  std::ofstream(path) << "D\tgarbage\n";
  EXPECT_EQ(ReadLetterFile(path), std::nullopt);
  EXPECT_FALSE(WriteLetterFile(scratch.str() + "/drive-letters/inside-a-file", Sample()));
  EXPECT_EQ(ReadWhole(path), "D\tgarbage\n");
}

// Sets an environment variable for its scope.
TEST(LetterFile, LivesInTheStateDirectory) {
  const ScopedVariable home("HOME", "/home/anna");
  {
    const ScopedVariable state("XDG_STATE_HOME", "/x/state");
    EXPECT_EQ(DefaultLetterFile(), "/x/state/volumetra/drive-letters");
  }
  const ScopedVariable relative("XDG_STATE_HOME", "relative/is/ignored");
  EXPECT_EQ(DefaultLetterFile(), "/home/anna/.local/state/volumetra/drive-letters");
}

}  // namespace
}  // namespace volumetra
