// The real program under Wine: volumetra.exe starts in a directory of its own, shows a row per
// drive of the Wine prefix with the label and serial number from the drive's files, leaves the
// CD-ROM drive out when its settings file asks, and saves its thirteen settings beside itself
// when its window is closed through the close box (WM_CLOSE).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "platform/win32/running_program.h"
#include "platform/win32/wine_drives.h"
#include "support/fake_machine.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

// Starts the program in `dir`, waits until its main window shows `rows` and the labelled drive's
// label and serial number, closes the window through its close box and gives the settings file.
std::string RunProgram(const std::string& dir, const std::vector<std::string>& rows) {
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
    PostMessageA(main, WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(program.WaitForEnd(20s), std::optional<DWORD>(0));
  return FakeMachine::read(dir + "\\volumetra.ini");
}

void ExpectAllKeys(const std::string& settings) {
  for (const char* key : {"Window1XPos", "Window1YPos", "Window1Width", "Window2XPos", "Window2YPos",
                          "Window2Width", "Language", "ReportFileDir", "ReportFileName", "EnableBarGraph",
                          "ExcludeCDRomDrives", "ExcludeDoubleMappings", "LinkGraphToMainWindow"})
    EXPECT_NE(settings.find(std::string(key) + "="), std::string::npos) << key << " in\n" << settings;
}

TEST(EndToEnd, TheProgramShowsTheWineDrivesDropsTheCdRomWhenAskedAndSavesItsSettings) {
  if (!WineDrivesPrepared()) GTEST_SKIP() << "the Wine drives are made by scripts/wine_prefix.sh";
  TempDir dir;
  ASSERT_TRUE(RunningProgram::CopyTo(dir.str()));
  std::vector<std::string> drives;
  const DWORD used = GetLogicalDrives();
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    if (used & (1u << (letter - 'A'))) drives.push_back({letter, ':'});
  }
  std::vector<std::string> withoutCd = drives;
  std::erase(withoutCd, std::string{kCdRomDrive, ':'});
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

}  // namespace
}  // namespace volumetra
