#include "platform/ini_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ini_encoding.h"
#include "support/ini_profile_fixture.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

using IniProfileTest = IniProfileFixture;

TEST_F(IniProfileTest, ReadsNamesWithoutRegardToCaseOrBlanksAndStripsOnePairOfQuotes) {
  writeFile(
      "top=before any section\r\n"
      "[Other]\r\nLanguage=Dansk\r\n"
      "  [ system ]  \r\n"
      "  LANGUAGE  =  Suomi  \r\n"
      "language=second, ignored\r\n"
      ";Window1XPos=5\r\n"
      "Dir=\"  C:\\spaced  \"\r\n"
      "Single='x'\r\n"
      "Mixed=\"x'\r\n"
      "Bare\r\n"
      "Empty=\r\n"
      "[System]\r\nLater=in a repeated section\r\n");
  EXPECT_EQ(get("System", "Language"), "Suomi");
  EXPECT_EQ(get("Other", "language"), "Dansk");
  EXPECT_EQ(get("System", "Dir"), "  C:\\spaced  ");
  EXPECT_EQ(get("System", "Single"), "x");
  EXPECT_EQ(get("System", "Mixed"), "\"x'");
  EXPECT_EQ(get("System", "Bare"), "");
  EXPECT_EQ(get("System", "Empty"), "");
  // Comments, keys outside any section and keys of a repeated section are not found.
  EXPECT_EQ(get("System", "Window1XPos"), "none");
  EXPECT_EQ(get("System", "top"), "none");
  EXPECT_EQ(get("System", "Later"), "none");
  EXPECT_EQ(get("Missing", "Language"), "none");
}

TEST_F(IniProfileTest, GivesTheDefaultWithoutAReadableFileAndCutsToTheBuffer) {
  EXPECT_EQ(get("System", "Language"), "none");
  fs::create_directory(path);
  EXPECT_EQ(get("System", "Language"), "none");
  EXPECT_EQ(set("System", "Language", "Dansk"), 0);
  fs::remove(path);

  writeFile("[System]\nLong=" + std::string(300, 'x') + "\n");
  EXPECT_EQ(get("System", "Long"), std::string(254, 'x'));
  EXPECT_EQ(get("System", "Long", 10), std::string(9, 'x'));
  EXPECT_EQ(get("System", "Long", 1), "");
  EXPECT_EQ(get("System", "Long", 0), "");
}

TEST_F(IniProfileTest, WriteCreatesFileAndSectionAndAddsKeysInOrder) {
  ASSERT_EQ(set("System", "Window1XPos", "0"), 1);
  ASSERT_EQ(set("System", "Language", "English"), 1);
  ASSERT_EQ(set("System", "window1xpos", "-120"), 1);
  EXPECT_EQ(fileText(), FakeMachine::asNewFile("[System]\nWindow1XPos=-120\nLanguage=English\n"));
}

TEST_F(IniProfileTest, WriteKeepsEveryOtherLineAndTheFilesLineEnds) {
  writeFile(
      "\xEF\xBB\xBF; settings\r\n"
      "[Colours]\r\nBack=Black\r\n\r\n"
      "[system]\r\n"
      "language = Deutsch  \r\n"
      "; a note\r\n"
      "window1xpos=5\r\n"
      "\r\n"
      "[Other]\r\nx=1");
  ASSERT_EQ(set("System", "Language", "Dansk"), 1);
  ASSERT_EQ(set("System", "Window1XPos", "7"), 1);
  ASSERT_EQ(set("System", "Window1YPos", "9"), 1);
  ASSERT_EQ(set("Added", "Key", "v"), 1);
  EXPECT_EQ(fileText(),
            "\xEF\xBB\xBF; settings\r\n"
            "[Colours]\r\nBack=Black\r\n\r\n"
            "[system]\r\n"
            "language = Dansk\r\n"
            "; a note\r\n"
            "window1xpos=7\r\n"
            "Window1YPos=9\r\n"
            "\r\n"
            "[Other]\r\nx=1\r\n"
            "\r\n"
            "[Added]\r\nKey=v\r\n");
}

TEST_F(IniProfileTest, WritingAValueTwiceGivesTheFileOfWritingItOnce) {
  for (const std::string line : {"Language = Deutsch", "Language=Deutsch", "Language =", "Language= \t"}) {
    for (const std::string value : {"", "Dansk", " padded "}) {
      writeFile("[System]\n" + line + "\n");
      ASSERT_EQ(set("System", "Language", value), 1);
      const std::string once = fileText();
      ASSERT_EQ(set("System", "Language", value), 1);
      EXPECT_EQ(fileText(), once) << "'" << line << "' set to '" << value << "'";
      EXPECT_EQ(get("System", "Language"), value);
    }
  }
}

TEST_F(IniProfileTest, EveryValueWithoutALineBreakReadsBackUnchanged) {
  for (const std::string value : {"", " leading", "trailing\t", "\"quoted\"", "'single'", "\"", "a=b;c",
                                  "[x]", "C:\\Program Files\\", "\xC3\xA4\xC3\xB6"}) {
    ASSERT_EQ(set("System", "Value", value), 1) << value;
    EXPECT_EQ(get("System", "Value"), value);
  }
  // In the system's 8-bit code page, which holds both characters (cp1252 on the Windows tests).
  EXPECT_EQ(ini_file::DecodeText(fileText()).utf8,
            FakeMachine::asNewFile("[System]\nValue=\xC3\xA4\xC3\xB6\n"));
}

// "Fotos für Oma\写真" in UTF-8 and in UTF-16 LE.
const std::string kPhotos = "Fotos f\xC3\xBCr Oma\\\xE5\x86\x99\xE7\x9C\x9F";
std::string Utf16Le(std::string_view ascii) {
  std::string bytes;
  for (char c : ascii) bytes += std::string{c, '\0'};
  return bytes;
}
const std::string kPhotosUtf16 =
    Utf16Le("Fotos f") + std::string("\xFC\0", 2) + Utf16Le("r Oma\\") + "\x99\x51\x1F\x77";

TEST_F(IniProfileTest, AUtf16FileIsReadAndWrittenBackAsUtf16WithItsLineEnds) {
  const std::string mark = "\xFF\xFE";
  writeFile(mark + Utf16Le("[System]\r\nLanguage=Deutsch\r\nReportFileDir=C:\\") + kPhotosUtf16 +
            Utf16Le("\\\r\n"));
  EXPECT_EQ(get("System", "Language"), "Deutsch");
  EXPECT_EQ(get("System", "ReportFileDir"), "C:\\" + kPhotos + "\\");
  ASSERT_EQ(set("System", "Language", "Dansk"), 1);
  ASSERT_EQ(set("System", "ReportFileName", kPhotos), 1);
  EXPECT_EQ(fileText(), mark + Utf16Le("[System]\r\nLanguage=Dansk\r\nReportFileDir=C:\\") + kPhotosUtf16 +
                            Utf16Le("\\\r\nReportFileName=") + kPhotosUtf16 + Utf16Le("\r\n"));
  EXPECT_EQ(get("System", "ReportFileName"), kPhotos);
}

TEST_F(IniProfileTest, AUtf16FileWithUnitsThatAreNoCharacterIsReadButLeftAlone) {
  const std::string broken = "\xFF\xFE" + Utf16Le("[System]\r\nLanguage=Suomi\r\nx=") + "\x3D\xD8";
  writeFile(broken);
  EXPECT_EQ(get("System", "Language"), "Suomi");
  EXPECT_EQ(set("System", "Language", "Dansk"), 0);
  EXPECT_EQ(fileText(), broken);
}

TEST_F(IniProfileTest, LongValuesAreCutBetweenCharactersAt254Utf16Units) {
  const std::string u = "\xC3\xBC";               // one unit, two bytes
  const std::string folder = "\xF0\x9F\x93\x81";  // two units, four bytes
  std::string value;
  for (int i = 0; i < 253; ++i) value += u;
  writeFile("\xEF\xBB\xBF[System]\nLong=" + value + folder + "\n");
  EXPECT_EQ(get("System", "Long"), value);  // 253 units: the folder's two would pass 254
  writeFile("\xEF\xBB\xBF[System]\nLong=" + value + u + u + "\n");
  EXPECT_EQ(get("System", "Long"), value + u);
  EXPECT_EQ(get("System", "Long", 3), u + u);
}

TEST_F(IniProfileTest, RefusesWhatCouldAddASectionOrKey) {
  writeFile("[System]\nReportFileDir=/old/\n");
  const std::string before = fileText();
  for (const char* value : {"C:\\dir\r\n[Evil]\r\nkey=1", "a\nb", "a\rb"}) {
    EXPECT_EQ(set("System", "ReportFileDir", value), 0);
  }
  EXPECT_EQ(set("System", "ReportFileDir", std::string("a\0b", 3)), 0);
  for (const char* key : {"", " ", "[Evil]", "a=b", ";x", "k\n[Evil]"}) EXPECT_EQ(set("System", key, "1"), 0);
  for (const char* section : {"", "Evil]\n[System", "a]b", "S\r\n"}) EXPECT_EQ(set(section, "key", "1"), 0);
  EXPECT_EQ(fileText(), before);
  EXPECT_EQ(get("Evil", "key"), "none");
}

TEST_F(IniProfileTest, WritesBetweenBeginAndCommitLandTogetherInOneReplacement) {
  writeFile("; kept\n[System]\nLanguage=English\n");
  int replacements = 0;
  profile.beforeReplace = [&] { ++replacements; };
  profile.BeginWrites();
  EXPECT_EQ(set("System", "Language", "Deutsch"), 1);
  EXPECT_EQ(set("System", "Window1XPos", "15"), 1);
  EXPECT_EQ(set("System", "Bad", "line\nbreak"), 0);              // refused as ever, the others still land
  EXPECT_EQ(fileText(), "; kept\n[System]\nLanguage=English\n");  // nothing on disk yet
  EXPECT_EQ(get("System", "Window1XPos"), "15");                  // reads see the pending text
  EXPECT_TRUE(profile.CommitWrites());
  EXPECT_EQ(replacements, 1);
  EXPECT_EQ(fileText(), "; kept\n[System]\nLanguage=Deutsch\nWindow1XPos=15\n");
  // After the commit, writes go to the file at once again.
  EXPECT_EQ(set("System", "Language", "Dansk"), 1);
  EXPECT_EQ(replacements, 2);
}

}  // namespace
}  // namespace volumetra
