// Our initialisation-file reader and writer next to Windows' own profile functions
// (GetPrivateProfileStringA/W, WritePrivateProfileStringA/W) on the same files: where they agree,
// and where ours differs on purpose. The files are 8-bit ones and "Unicode" ones (UTF-16 with a
// byte-order mark, as Notepad saves them), with values beyond ASCII.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/ini_encoding.h"
#include "platform/ini_profile.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "support/fake_machine.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

constexpr int kBufferSize = 255;  // the program's buffer

struct ReadCase {
  const char* name;
  const char* content;  ///< nullptr: no file
  const char* section;
  const char* key;
};

const ReadCase kReadCases[] = {
    {"comment lines", "[System]\r\n;Language=Dansk\r\nLanguage=Suomi\r\n", "System", "Language"},
    {"a commented key only", "[System]\r\n;Language=Dansk\r\n", "System", "Language"},
    {"duplicate keys", "[System]\r\nLanguage=Suomi\r\nLanguage=Dansk\r\n", "System", "Language"},
    {"other sections", "[Other]\r\nLanguage=Dansk\r\n[System]\r\nLanguage=Suomi\r\n[Last]\r\nx=1\r\n",
     "System", "Language"},
    {"a key of another section", "[Other]\r\nLanguage=Dansk\r\n[System]\r\nx=1\r\n", "System", "Language"},
    {"letter case", "[SYSTEM]\r\nlanguage=Suomi\r\n", "System", "Language"},
    {"blanks around =", "[System]\r\n  Language  =  Suomi  \r\n", "System", "Language"},
    {"blanks in the section line", "  [System]  \r\nLanguage=Suomi\r\n", "System", "Language"},
    {"tabs around =", "[System]\r\nLanguage\t=\tSuomi\t\r\n", "System", "Language"},
    {"an empty value", "[System]\r\nLanguage=\r\n", "System", "Language"},
    {"a line without =", "[System]\r\nLanguage\r\n", "System", "Language"},
    {"double quotes", "[System]\r\nLanguage=\"Suomi\"\r\n", "System", "Language"},
    {"single quotes", "[System]\r\nLanguage='Suomi'\r\n", "System", "Language"},
    {"quotes that do not match", "[System]\r\nLanguage=\"Suomi'\r\n", "System", "Language"},
    {"a long value", nullptr, "System", "Long"},
    {"LF line ends", "[System]\nLanguage=Suomi\n", "System", "Language"},
    {"no line end at the end", "[System]\r\nLanguage=Suomi", "System", "Language"},
    {"a key before any section", "Language=Dansk\r\n[System]\r\nx=1\r\n", "System", "Language"},
    {"a missing section", "[Other]\r\nLanguage=Dansk\r\n", "System", "Language"},
    {"a missing file", nullptr, "System", "Language"},
    {"an empty file", "", "System", "Language"},
    {"a backslash path value", "[System]\r\nReportFileDir=C:\\Program Files\\Log\\\r\n", "System",
     "ReportFileDir"},
    {"= inside the value", "[System]\r\nLanguage=a=b;c\r\n", "System", "Language"},
};

struct ProfileDifferentialTest : ::testing::Test {
  TempDir dir;
  IniProfile ours;
  int files = 0;

  std::string fileFor(const char* content) {
    const std::string path = dir.str() + "\\case" + std::to_string(files++) + ".ini";
    if (content) std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  std::string fileWithBytes(const std::string& bytes) {
    const std::string path = fileFor(nullptr);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::pair<int, std::string> RealRead(const std::string& section, const std::string& key,
                                              const std::string& path) {
    std::string buffer(kBufferSize, '\0');
    const DWORD n =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), kBufferSize, path.c_str());
    return {static_cast<int>(n), buffer.substr(0, n)};
  }
  std::pair<int, std::string> OurRead(const std::string& section, const std::string& key,
                                      const std::string& path) {
    std::string buffer;
    const int n = ours.GetPrivateProfileString(section, key, "", buffer, kBufferSize, path);
    return {n, buffer};
  }
  /// GetPrivateProfileStringW, its count and its text in UTF-8.
  static std::pair<int, std::string> RealReadW(const std::string& section, const std::string& key,
                                               const std::string& path) {
    std::wstring buffer(kBufferSize, L'\0');
    const DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"", buffer.data(),
                                             kBufferSize, Wide(path).c_str());
    return {static_cast<int>(n), Utf8(buffer.substr(0, n))};
  }
  /// Ours, with the count in UTF-16 units as the system's wide function gives it.
  std::pair<int, std::string> OurReadW(const std::string& section, const std::string& key,
                                       const std::string& path) {
    std::string buffer;
    ours.GetPrivateProfileString(section, key, "", buffer, kBufferSize, path);
    return {static_cast<int>(Wide(buffer).size()), buffer};
  }
  /// A file holding `text` (UTF-8) in `encoding`.
  std::string fileIn(ini_file::TextEncoding encoding, const std::string& text) {
    return fileWithBytes(ini_file::EncodeText(text, encoding));
  }
  static DWORD FileIndex(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return info.nFileIndexLow;
  }
};

TEST_F(ProfileDifferentialTest, BothReadersGiveTheSameValueForEveryFile) {
  for (const ReadCase& c : kReadCases) {
    const std::string longFile = "[System]\r\nLong=" + std::string(300, 'x') + "\r\n";
    const std::string path =
        fileFor(std::string_view(c.name) == "a long value" ? longFile.c_str() : c.content);
    EXPECT_EQ(OurRead(c.section, c.key, path), RealRead(c.section, c.key, path)) << c.name;
  }
}

TEST_F(ProfileDifferentialTest, ValuesAreCutAt254CharactersByBoth) {
  const std::string path = fileFor(("[System]\r\nLong=" + std::string(300, 'x') + "\r\n").c_str());
  EXPECT_EQ(RealRead("System", "Long", path), std::make_pair(254, std::string(254, 'x')));
  EXPECT_EQ(OurRead("System", "Long", path), std::make_pair(254, std::string(254, 'x')));
}

struct WriteCase {
  const char* name;
  const char* content;  ///< nullptr: no file
  const char* section;
  const char* key;
  const char* value;
};

const WriteCase kWriteCases[] = {
    {"a new file", nullptr, "System", "Language", "Deutsch"},
    {"a new section", "[Other]\r\nx=1\r\n", "System", "Language", "Deutsch"},
    {"a new key at the end of its section", "[System]\r\na=1\r\n[Other]\r\nx=1\r\n", "System", "Language",
     "Deutsch"},
    {"a value replaced", "[System]\r\nLanguage=English\r\nWindow1XPos=5\r\n", "System", "Language",
     "Deutsch"},
    {"a value replaced in another case", "[system]\r\nLANGUAGE=English\r\n", "System", "Language", "Deutsch"},
    {"the first of duplicate keys", "[System]\r\nLanguage=English\r\nLanguage=Dansk\r\n", "System",
     "Language", "Deutsch"},
    {"beside comments", "; settings\r\n[System]\r\n; the language\r\nLanguage=English\r\n", "System",
     "Language", "Deutsch"},
    {"an empty value", "[System]\r\nLanguage=English\r\n", "System", "Language", ""},
    {"a long value", "[System]\r\n", "System", "ReportFileDir", "C:\\a very long directory name\\"},
    {"a path", "[System]\r\n", "System", "ReportFileDir", "C:\\Program Files\\Volumetra\\"},
};

TEST_F(ProfileDifferentialTest, WritesOfBothReadBackTheSameAndKeepEveryOtherKey) {
  for (const WriteCase& c : kWriteCases) {
    const std::string mine = fileFor(c.content);
    const std::string theirs = fileFor(c.content);
    EXPECT_EQ(ours.WritePrivateProfileString(c.section, c.key, c.value, mine) != 0,
              WritePrivateProfileStringA(c.section, c.key, c.value, theirs.c_str()) != FALSE)
        << c.name;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());  // flush the system's cache
    for (const char* key : {c.key, "Window1XPos", "a", "x"}) {
      for (const char* section : {c.section, "Other"}) {
        EXPECT_EQ(RealRead(section, key, mine), RealRead(section, key, theirs)) << c.name << ": " << key;
        EXPECT_EQ(OurRead(section, key, mine), RealRead(section, key, theirs)) << c.name << ": " << key;
      }
    }
    // Ours keeps every line it does not change byte for byte, comments included.
    if (c.content) {
      const std::string written = FakeMachine::read(mine);
      std::istringstream lines(c.content);
      for (std::string line; std::getline(lines, line);) {
        if (line.find(c.key) != std::string::npos || line.find("LANGUAGE") != std::string::npos) continue;
        EXPECT_NE(written.find(line), std::string::npos) << c.name << ": " << line;
      }
    }
  }
}

TEST_F(ProfileDifferentialTest, OursRefusesALineBreakThatTheSystemWritesAsItStands) {
  const char* content = "[System]\r\nReportFileDir=C:\\\r\n";
  const char* injected = "C:\\dir\r\n[Evil]\r\nkey=1";
  const std::string mine = fileFor(content);
  const std::string theirs = fileFor(content);
  EXPECT_EQ(ours.WritePrivateProfileString("System", "ReportFileDir", injected, mine), 0);
  EXPECT_EQ(FakeMachine::read(mine), content);
  // The system's function takes the value, and the file gains a section and a key.
  EXPECT_NE(WritePrivateProfileStringA("System", "ReportFileDir", injected, theirs.c_str()), FALSE);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());
  EXPECT_EQ(RealRead("Evil", "key", theirs).second, "1");
  EXPECT_EQ(RealRead("Evil", "key", mine).second, "");
}

TEST_F(ProfileDifferentialTest, OursPutsANewFileInPlaceWhereTheSystemRewritesTheOld) {
  const char* content = "[System]\r\nLanguage=English\r\n";
  const std::string mine = fileFor(content);
  const std::string theirs = fileFor(content);
  const DWORD mineBefore = FileIndex(mine);
  const DWORD theirsBefore = FileIndex(theirs);
  ASSERT_NE(ours.WritePrivateProfileString("System", "Language", "Deutsch", mine), 0);
  ASSERT_NE(WritePrivateProfileStringA("System", "Language", "Deutsch", theirs.c_str()), FALSE);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());
  // A kill during our save leaves the old file or the new one, as the new one is complete before
  // it takes the old one's name; the system's function writes over the old file.
  EXPECT_NE(FileIndex(mine), mineBefore);
  EXPECT_EQ(FileIndex(theirs), theirsBefore);
  EXPECT_EQ(RealRead("System", "Language", mine), RealRead("System", "Language", theirs));
}

using ini_file::TextEncoding;

// Values beyond ASCII: "C:\Fotos für Oma\写真\" (one character of code page 1252, two beyond it),
// one of code page 1252 alone, and one beyond the Basic Multilingual Plane (a surrogate pair).
const std::string kWideValues[] = {"C:\\Fotos f\xC3\xBCr Oma\\\xE5\x86\x99\xE7\x9C\x9F\\",
                                   "Fran\xC3\xA7"
                                   "ais",
                                   "\xF0\x9F\x93\x81 backup"};
const TextEncoding kMarkedEncodings[] = {TextEncoding::Utf16Le, TextEncoding::Utf16Be, TextEncoding::Utf8Bom};

TEST_F(ProfileDifferentialTest, UnicodeFilesReadAsTheSystemsWideFunctionReadsThem) {
  // Every read case once more, saved as Notepad's "Unicode": UTF-16 LE with a mark.
  for (const ReadCase& c : kReadCases) {
    if (!c.content) continue;
    const std::string path = fileIn(TextEncoding::Utf16Le, c.content);
    EXPECT_EQ(OurReadW(c.section, c.key, path), RealReadW(c.section, c.key, path)) << c.name;
  }
  for (TextEncoding encoding : kMarkedEncodings) {
    for (const std::string& value : kWideValues) {
      const std::string path = fileIn(encoding, "[System]\r\nReportFileDir=" + value + "\r\n");
      EXPECT_EQ(RealReadW("System", "ReportFileDir", path).second, value);
      EXPECT_EQ(OurReadW("System", "ReportFileDir", path), RealReadW("System", "ReportFileDir", path));
    }
  }
  // Both cut a long value at 254 UTF-16 units.
  std::string umlauts;
  for (int i = 0; i < 300; ++i) umlauts += "\xC3\xBC";
  const std::string path = fileIn(TextEncoding::Utf16Le, "[System]\r\nLong=" + umlauts + "\r\n");
  EXPECT_EQ(RealReadW("System", "Long", path), std::make_pair(254, umlauts.substr(0, 2 * 254)));
  EXPECT_EQ(OurReadW("System", "Long", path), RealReadW("System", "Long", path));
}

TEST_F(ProfileDifferentialTest, FilesWithoutAMarkAreTheCodePagesUnlessTheyAreUtf8) {
  ASSERT_EQ(GetACP(), 1252u) << "the test needs a Wine prefix on code page 1252";
  const std::string ansi = fileWithBytes("[System]\r\nReportFileDir=C:\\Fotos f\xFCr Oma\\\r\n");
  EXPECT_EQ(RealReadW("System", "ReportFileDir", ansi).second, "C:\\Fotos f\xC3\xBCr Oma\\");
  EXPECT_EQ(OurReadW("System", "ReportFileDir", ansi), RealReadW("System", "ReportFileDir", ansi));
  // UTF-8 without a mark, as Notepad saves it by default nowadays: the system's function reads
  // its bytes as code page 1252, ours reads the characters.
  const std::string utf8 = fileWithBytes(
      "[System]\r\nLanguage=Fran\xC3\xA7"
      "ais\r\n");
  EXPECT_EQ(RealReadW("System", "Language", utf8).second, Utf8FromAnsi("Fran\xC3\xA7"
                                                                       "ais"));
  EXPECT_EQ(OurReadW("System", "Language", utf8).second,
            "Fran\xC3\xA7"
            "ais");
}

TEST_F(ProfileDifferentialTest, OurSaveOfAUnicodeFileKeepsItsFormAndLineEndsAndTheSystemReadsItBack) {
  const std::string content =
      "; Unicode\r\n[System]\r\nLanguage=English\r\nReportFileDir=C:\\\r\n[Other]\r\nx=1\r\n";
  for (TextEncoding encoding : kMarkedEncodings) {
    const std::string mine = fileIn(encoding, content);
    const std::string theirs = fileIn(encoding, content);
    for (const std::string& value : kWideValues) {
      for (const char* key : {"ReportFileDir", "Added"}) {
        EXPECT_NE(ours.WritePrivateProfileString("System", key, value, mine), 0);
        EXPECT_NE(WritePrivateProfileStringW(L"System", Wide(key).c_str(), Wide(value).c_str(),
                                             Wide(theirs).c_str()),
                  FALSE);
      }
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Wide(theirs).c_str());  // flush the system's cache
    for (const char* key : {"Language", "ReportFileDir", "Added", "x"}) {
      for (const char* section : {"System", "Other"}) {
        EXPECT_EQ(RealReadW(section, key, mine), RealReadW(section, key, theirs)) << key;
        EXPECT_EQ(OurReadW(section, key, mine), RealReadW(section, key, theirs)) << key;
      }
    }
    EXPECT_EQ(RealReadW("System", "Added", mine).second, kWideValues[2]);
    const ini_file::DecodedText saved = ini_file::DecodeText(FakeMachine::read(mine));
    EXPECT_EQ(saved.encoding, encoding);
    EXPECT_EQ(saved.utf8, "; Unicode\r\n[System]\r\nLanguage=English\r\nReportFileDir=" + kWideValues[2] +
                              "\r\nAdded=" + kWideValues[2] + "\r\n[Other]\r\nx=1\r\n");
  }
}

TEST_F(ProfileDifferentialTest, AValueTheCodePageCannotHoldMakesTheFileUnicodeRatherThanLost) {
  ASSERT_EQ(GetACP(), 1252u) << "the test needs a Wine prefix on code page 1252";
  const std::string before = "[System]\r\nReportFileDir=C:\\Fotos f\xFCr Oma\\\r\n";
  const std::string path = fileWithBytes(before);
  // A value that code page 1252 holds keeps the file in it.
  ASSERT_NE(ours.WritePrivateProfileString("System", "Language",
                                           "Fran\xC3\xA7"
                                           "ais",
                                           path),
            0);
  EXPECT_EQ(FakeMachine::read(path), before +
                                         "Language=Fran\xE7"
                                         "ais\r\n");
  // One that it lacks turns the file into UTF-16 with a mark, which the system reads whole.
  ASSERT_NE(ours.WritePrivateProfileString("System", "ReportFileDir", kWideValues[0], path), 0);
  EXPECT_EQ(ini_file::DecodeText(FakeMachine::read(path)).encoding, TextEncoding::Utf16Le);
  EXPECT_EQ(RealReadW("System", "ReportFileDir", path).second, kWideValues[0]);
  EXPECT_EQ(RealReadW("System", "Language", path).second,
            "Fran\xC3\xA7"
            "ais");
}

}  // namespace
}  // namespace volumetra
