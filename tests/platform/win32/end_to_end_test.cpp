// The real program under Wine: volumetra.exe starts in a directory of its own, shows a row per
// drive of the Wine prefix with the label (whole, also outside the ANSI code page) and serial
// number from the drive's files, leaves the CD-ROM drive out when its settings file asks, and
// saves its thirteen settings beside itself when its window is closed through the close box
// (WM_CLOSE); in a folder beyond the ANSI code page with a settings file saved as "Unicode", and
// in a folder that takes no files, where the settings go to the user's roaming application-data
// folder.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "platform/ini_encoding.h"
#include "platform/win32/running_program.h"
#include "platform/win32/wide_files.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
//
#include <shlobj.h>

#include "platform/win32/wine_drives.h"
#include "support/fake_machine.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

// Starts the program in `dir`, waits until its main window shows `rows` and the labelled drive's
// label and serial number, closes the window through its close box and gives the settings file
// (`settings`, by default the one beside the program).
std::string RunProgram(const std::string& dir, const std::vector<std::string>& rows,
                       std::string settings = {}) {
  RunningProgram program(dir);
  if (!program.started()) {
    ADD_FAILURE() << "volumetra.exe did not start";
    return {};
  }
  const HWND main = program.WaitForMainWindow(30s);
  EXPECT_NE(main, nullptr);
  if (main) {
    EXPECT_TRUE(Eventually([&] { return ShownRows(main) == rows; }, 20s));
    EXPECT_EQ(ShownRows(main), rows);
    const auto labelled = std::find(rows.begin(), rows.end(), std::string{kLabelledDrive, ':'});
    EXPECT_NE(labelled, rows.end());
    const int row = static_cast<int>(labelled - rows.begin());
    EXPECT_EQ(ControlText(main, "Label3", row), kLabelledDriveLabel);
    EXPECT_EQ(ControlText(main, "Label9", row), std::to_string(kLabelledDriveSerial));
    // A label that no ANSI code page holds shows whole.
    const auto unicode = std::find(rows.begin(), rows.end(), std::string{kUnicodeLabelDrive, ':'});
    EXPECT_NE(unicode, rows.end());
    if (unicode != rows.end()) {
      EXPECT_EQ(ControlText(main, "Label3", static_cast<int>(unicode - rows.begin())), kUnicodeLabel);
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(program.WaitForEnd(20s), std::optional<DWORD>(0));
  return ReadBytes(settings.empty() ? dir + "\\volumetra.ini" : settings);
}

void ExpectAllKeys(const std::string& settings) {
  for (const char* key : {"Window1XPos", "Window1YPos", "Window1Width", "Window2XPos", "Window2YPos",
                          "Window2Width", "Language", "ReportFileDir", "ReportFileName", "EnableBarGraph",
                          "ExcludeCDRomDrives", "ExcludeDoubleMappings", "LinkGraphToMainWindow"})
    EXPECT_NE(settings.find(std::string(key) + "="), std::string::npos) << key << " in\n" << settings;
}

// The drive letters of the Wine prefix, with and without its CD-ROM drive.
std::vector<std::string> Drives() {
  std::vector<std::string> drives;
  const DWORD used = GetLogicalDrives();
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    if (used & (1u << (letter - 'A'))) drives.push_back({letter, ':'});
  }
  return drives;
}
std::vector<std::string> DrivesWithoutCd() {
  std::vector<std::string> drives = Drives();
  std::erase(drives, std::string{kCdRomDrive, ':'});
  return drives;
}

std::string RoamingApplicationData() {
  PWSTR folder = nullptr;
  std::string path;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder))) path = Utf8(folder);
  CoTaskMemFree(folder);
  return path;
}

TEST(EndToEnd, TheProgramShowsTheWineDrivesDropsTheCdRomWhenAskedAndSavesItsSettings) {
  if (!WineDrivesPrepared()) GTEST_SKIP() << "the Wine drives are made by scripts/wine_prefix.sh";
  TempDir dir;
  ASSERT_TRUE(RunningProgram::CopyTo(dir.str()));
  const std::vector<std::string> drives = Drives();
  const std::vector<std::string> withoutCd = DrivesWithoutCd();
  ASSERT_NE(withoutCd.size(), drives.size());

  // Without a settings file: a row per drive of the prefix, and all thirteen keys saved beside it.
  std::string settings = RunProgram(dir.str(), drives);
  ExpectAllKeys(settings);
  EXPECT_NE(settings.find("ExcludeCDRomDrives=False"), std::string::npos) << settings;
  EXPECT_NE(settings.find("ReportFileDir=" + dir.str() + "\\"), std::string::npos) << settings;

  // Asked to leave CD-ROM drives out, the next run drops the CD-ROM drive and keeps the switch.
  const std::size_t at = settings.find("ExcludeCDRomDrives=False");
  if (at != std::string::npos)
    settings.replace(at, std::strlen("ExcludeCDRomDrives=False"), "ExcludeCDRomDrives=True");
  std::ofstream(dir.str() + "\\volumetra.ini", std::ios::binary) << settings;
  settings = RunProgram(dir.str(), withoutCd);
  ExpectAllKeys(settings);
  EXPECT_NE(settings.find("ExcludeCDRomDrives=True"), std::string::npos) << settings;
}

TEST(EndToEnd, AProgramInAFolderBeyondTheCodePageKeepsANotepadUnicodeSettingsFileUnicode) {
  if (!WineDrivesPrepared()) GTEST_SKIP() << "the Wine drives are made by scripts/wine_prefix.sh";
  TempDir dir;
  const std::string folder = dir.str() + "\\" + kPhotosFolder;
  ASSERT_TRUE(MakeDirectories(folder));
  ASSERT_TRUE(RunningProgram::CopyTo(folder));
  ini_file::TextEncoding unicode = ini_file::TextEncoding::Utf16Le;
  ASSERT_TRUE(WriteBytes(folder + "\\volumetra.ini",
                         ini_file::EncodeText("[System]\r\nExcludeCDRomDrives=True\r\n", unicode)));

  const ini_file::DecodedText saved = ini_file::DecodeText(RunProgram(folder, DrivesWithoutCd()));
  EXPECT_EQ(saved.encoding, ini_file::TextEncoding::Utf16Le);
  ExpectAllKeys(saved.utf8);
  for (std::size_t at = saved.utf8.find('\n'); at != std::string::npos; at = saved.utf8.find('\n', at + 1))
    EXPECT_EQ(saved.utf8[at - 1], '\r') << "a line without CR in\n" << saved.utf8;
  // The program found itself in its folder, made it current and so saved it as the log directory.
  const std::string ini = folder + "\\volumetra.ini";
  EXPECT_EQ(SystemProfileValue("System", "ReportFileDir", ini), folder + "\\");
  EXPECT_EQ(SystemProfileValue("System", "ExcludeCDRomDrives", ini), "True");
}

TEST(EndToEnd, AProgramInAFolderThatTakesNoFilesKeepsItsSettingsInTheRoamingFolder) {
  if (!WineDrivesPrepared()) GTEST_SKIP() << "the Wine drives are made by scripts/wine_prefix.sh";
  TempDir dir;
  const std::string programs = dir.str() + "\\Programs";
  ASSERT_TRUE(MakeDirectories(programs));
  ASSERT_TRUE(RunningProgram::CopyTo(programs));
  const std::string defaults = "[System]\r\nExcludeCDRomDrives=True\r\n";
  ASSERT_TRUE(WriteBytes(programs + "\\volumetra.ini", defaults));
  const std::string roaming = RoamingApplicationData() + "\\Volumetra";
  const std::string ini = roaming + "\\volumetra.ini";
  RemoveTree(roaming);
  SealedDirectory seal(programs);
  if (!seal.sealed()) GTEST_SKIP() << "needs root: seals a directory with chattr +i";

  // The file beside the program serves as the defaults; the settings are saved to the roaming folder.
  std::string settings = RunProgram(programs, DrivesWithoutCd(), ini);
  ExpectAllKeys(settings);
  EXPECT_NE(settings.find("ExcludeCDRomDrives=True"), std::string::npos) << settings;
  EXPECT_NE(settings.find("ReportFileDir=" + roaming + "\\"), std::string::npos) << settings;
  EXPECT_EQ(ReadBytes(programs + "\\volumetra.ini"), defaults);

  // From then on the saved settings count, not the defaults.
  const std::size_t at = settings.find("ExcludeCDRomDrives=True");
  if (at != std::string::npos)
    settings.replace(at, std::strlen("ExcludeCDRomDrives=True"), "ExcludeCDRomDrives=False");
  ASSERT_TRUE(WriteBytes(ini, settings));
  settings = RunProgram(programs, Drives(), ini);
  EXPECT_NE(settings.find("ExcludeCDRomDrives=False"), std::string::npos) << settings;
  RemoveTree(roaming);
}

}  // namespace
}  // namespace volumetra
