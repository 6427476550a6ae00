#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/form1.h"
#include "app/form1_design.h"
#include "support/fake_machine.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

// The main window's designed width, as the load's first resize caps it.
const float kDesignedMainWidth = std::min(Form1Design().width, 9600.0f);

struct SettingsFileTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
  Module1& m = p.m;

  void writeIni(const std::string& text) const { std::ofstream(machine.iniPath(), std::ios::binary) << text; }
  std::string iniText() const { return FakeMachine::read(machine.iniPath()); }
  void loadSection(const std::string& keys) {
    writeIni("[System]\n" + keys);
    LoadSettings(p.settingsContext());
  }
  // Starts the program and ends it as the close box does.
  void run() {
    machine.start();
    endRun();
  }
  void endRun() {
    p.Unload(p.form1());
    ASSERT_TRUE(p.Ended());
  }
  void placeWindows() {
    p.form1().setLeft(1234.5f);
    p.form1().setTop(-60.5f);
    p.form1().setWidth(8000.25f);
    p.form2().setLeft(7001.5f);
    p.form2().setTop(300);
    p.form2().setWidth(5400.75f);
  }
};

TEST_F(SettingsFileTest, WithoutAFileTheProgramStartsOnDefaultsAndWritesNothing) {
  machine.start();
  EXPECT_EQ(p.form1().left(), 0);
  EXPECT_EQ(p.form1().top(), 0);
  EXPECT_EQ(p.form1().width(), kDesignedMainWidth);
  EXPECT_EQ(p.form2().left(), 6650);
  EXPECT_EQ(p.form2().top(), 230);
  EXPECT_EQ(p.form2().width(), 5310);
  EXPECT_EQ(m.Language, "English");
  EXPECT_EQ(m.ReportFileDir, machine.dir.str() + "/");  // the options dialog adds the separator
  EXPECT_EQ(m.ReportFileName, "LOG.TXT");
  EXPECT_TRUE(m.ShowGraph);
  EXPECT_TRUE(p.form2().visible());
  EXPECT_TRUE(m.LinkGraph);
  EXPECT_FALSE(m.ExcludeCDs);
  EXPECT_FALSE(m.ExcludeDoubles);
  EXPECT_EQ(p.settingsState.call.IniFilePath, machine.iniPath());
  EXPECT_FALSE(fs::exists(machine.iniPath()));
}

TEST_F(SettingsFileTest, OnlyAnOrdinaryFileNamedAfterTheExecutableIsRead) {
  fs::create_directory(machine.iniPath());  // not an ordinary file
  LoadSettings(p.settingsContext());
  EXPECT_EQ(m.Language, "English");
  EXPECT_EQ(m.Window2XPos, 6650);

  machine.files.baseName = "Vmetra32";
  std::ofstream(machine.dir.path() / "Vmetra32.ini") << "[System]\nLanguage=Dansk\n";
  LoadSettings(p.settingsContext());
  EXPECT_EQ(m.Language, "Dansk");
  EXPECT_EQ(p.settingsState.call.IniFilePath, machine.dir.str() + "/Vmetra32.ini");
}

TEST_F(SettingsFileTest, StoredMainWidthIsUsedOnlyWhenPositive) {
  const struct {
    const char* stored;
    float width;
    std::int32_t variable;
  } cases[] = {{"0", kDesignedMainWidth, 0}, {"-300", kDesignedMainWidth, 0}, {"wide", kDesignedMainWidth, 0},
               {"9000", 9000, 9000},         {"9000.5", 9000.5f, 9000},       {"12000", 9600, 12000}};
  for (const auto& c : cases) {
    FakeMachine fresh;
    std::ofstream(fresh.iniPath()) << "[System]\nWindow1Width=" << c.stored << "\n";
    fresh.start();
    EXPECT_EQ(fresh.program->form1().width(), c.width) << c.stored;
    EXPECT_EQ(fresh.program->m.Window1Width, c.variable) << c.stored;
    EXPECT_EQ(fresh.program->m.Language, "English") << c.stored;  // the load went on
  }
}

TEST_F(SettingsFileTest, GraphWidthIsLenientAndPresentKeysSkipTheirDefaults) {
  loadSection("Window2Width=abc\n");
  EXPECT_EQ(m.Window2Width, 0);
  loadSection("Window2Width=5310.5\n");
  EXPECT_EQ(m.Window2Width, 5310);
  loadSection("Window2Width= 5 311.5 px\n");
  EXPECT_EQ(m.Window2Width, 5312);
  loadSection("Window2XPos=-7\nWindow2YPos=1.5\nLanguage=\nReportFileDir=\nReportFileName=\n");
  EXPECT_EQ(m.Window2XPos, -7);
  EXPECT_EQ(m.Window2YPos, 2);
  EXPECT_EQ(m.Language, "English");  // present but empty counts as missing
  EXPECT_EQ(m.ReportFileDir, machine.dir.str());
  EXPECT_EQ(m.ReportFileName, "LOG.TXT");
  loadSection("Language=Suomi\nReportFileDir=/var/log/\nReportFileName=DISKS.TXT\n");
  EXPECT_EQ(m.Language, "Suomi");
  EXPECT_EQ(m.ReportFileDir, "/var/log/");
  EXPECT_EQ(m.ReportFileName, "DISKS.TXT");
  loadSection("Language=" + std::string(300, 'x') + "\n");
  EXPECT_EQ(m.Language, std::string(254, 'x'));
  // The cut counts characters, not the bytes of their UTF-8.
  std::string umlauts;
  for (int i = 0; i < 300; ++i) umlauts += "\xC3\xBC";
  loadSection("ReportFileDir=" + umlauts + "\n");
  EXPECT_EQ(m.ReportFileDir, umlauts.substr(0, 2 * 254));
}

TEST_F(SettingsFileTest, BooleansAreWordsOrNumbers) {
  loadSection(
      "EnableBarGraph=false\nExcludeCDRomDrives=-1\nExcludeDoubleMappings=TRUE\nLinkGraphToMainWindow=0\n");
  EXPECT_FALSE(m.ShowGraph);
  EXPECT_TRUE(m.ExcludeCDs);
  EXPECT_TRUE(m.ExcludeDoubles);
  EXPECT_FALSE(m.LinkGraph);
  // Missing exclusion keys keep the value they had.
  loadSection("EnableBarGraph=-1\n");
  EXPECT_TRUE(m.ShowGraph);
  EXPECT_TRUE(m.ExcludeCDs);
  EXPECT_TRUE(m.LinkGraph);
}

TEST_F(SettingsFileTest, ABooleanThatIsNoWordEndsTheLoadThere) {
  writeIni(
      "[System]\nLanguage=Dansk\nEnableBarGraph=maybe\nExcludeCDRomDrives=True\nExcludeDoubleMappings=True\n"
      "LinkGraphToMainWindow=True\n");
  machine.start();
  EXPECT_EQ(m.Language, "Dansk");
  EXPECT_FALSE(m.ShowGraph);
  EXPECT_FALSE(m.ExcludeCDs);
  EXPECT_FALSE(m.ExcludeDoubles);
  EXPECT_FALSE(m.LinkGraph);
  EXPECT_FALSE(p.form2().visible());
}

TEST_F(SettingsFileTest, AFailedConversionKeepsThatKeyAndAllLaterOnesAtTheirStartValues) {
  const std::string later =
      "Window1YPos=10\nWindow1Width=9000\nWindow2XPos=1\nWindow2YPos=2\nWindow2Width=3\nLanguage=Dansk\n"
      "ReportFileDir=/x/\nReportFileName=A.TXT\nEnableBarGraph=True\nExcludeCDRomDrives=True\n"
      "ExcludeDoubleMappings=True\nLinkGraphToMainWindow=True\n";
  for (const std::string first : {"Window1XPos=abc\n", "Window1XPos=2147483648\n"}) {
    loadSection(first + later);
    EXPECT_EQ(m.Window1YPos, 0) << first;
    EXPECT_EQ(m.Window1Width, 0);
    EXPECT_EQ(m.Window2XPos, 0);
    EXPECT_EQ(m.Window2YPos, 0);
    EXPECT_EQ(m.Window2Width, 0);
    EXPECT_EQ(m.Language, "");
    EXPECT_EQ(m.ReportFileDir, "");
    EXPECT_EQ(m.ReportFileName, "");
    EXPECT_FALSE(m.ShowGraph || m.ExcludeCDs || m.ExcludeDoubles || m.LinkGraph);
    EXPECT_EQ(p.loadedForm1(), nullptr);  // the width was not applied
  }
  // A graph width beyond 32 bits fails too, after the keys before it are in.
  loadSection("Window2XPos=5\nWindow2Width=3000000000\nLanguage=Dansk\n");
  EXPECT_EQ(m.Window2XPos, 5);
  EXPECT_EQ(m.Window2Width, 0);
  EXPECT_EQ(m.Language, "");
}

// One value that does not convert must not wipe the rest: the run starts as the load left it, but
// the save writes back only the untaken keys the run changed.
TEST_F(SettingsFileTest, KeysTheLoadDidNotTakeKeepTheirTextUnlessTheRunChangesThem) {
  const std::string rest =
      "Window1YPos=10\nWindow1Width=9000\nWindow2XPos=100\nWindow2YPos=200\nWindow2Width=6000\n"
      "Language=Deutsch\nReportFileDir=/srv/disklogs/\nReportFileName=DISKS.TXT\nEnableBarGraph=True\n"
      "ExcludeCDRomDrives=True\nExcludeDoubleMappings=False\nLinkGraphToMainWindow=True\n";
  for (const std::string first : {"Window1XPos=1500px\n", "Window1XPos=4294967296\n"}) {
    writeIni("[System]\n" + first + rest);
    machine.program = std::make_unique<Program>(machine.services);
    Program& run = machine.start();
    EXPECT_EQ(run.m.Language, "") << first;  // this run is as the load left it
    EXPECT_FALSE(run.m.ShowGraph);
    run.Unload(run.form1());
    EXPECT_EQ(iniText(), "[System]\n" + first + rest) << first;
  }

  // What the run changes is saved; the rest keeps its text.
  writeIni("[System]\nWindow1XPos=1500px\n" + rest);
  machine.program = std::make_unique<Program>(machine.services);
  Program& run = machine.start();
  run.form1().setLeft(300);
  run.m.ExcludeCDs = true;
  run.form3().Text3.setText("NEW.TXT");
  run.Unload(run.form1());
  const std::string saved = iniText();
  for (const char* line : {"Window1XPos=300\n", "Window1YPos=10\n", "Window2Width=6000\n",
                           "Language=Deutsch\n", "ReportFileDir=/srv/disklogs/\n", "ReportFileName=NEW.TXT\n",
                           "ExcludeCDRomDrives=True\n", "LinkGraphToMainWindow=True\n"})
    EXPECT_NE(saved.find(line), std::string::npos) << line << " in\n" << saved;

  // A graph width beyond 32 bits: the keys from there on keep their text, those before it are saved.
  writeIni("[System]\nWindow2XPos=5\nWindow2Width=3000000000\nLanguage=Dansk\nEnableBarGraph=False\n");
  machine.program = std::make_unique<Program>(machine.services);
  machine.start().Unload(machine.program->form1());
  const std::string wide = iniText();
  for (const char* line : {"Window2XPos=5\n", "Window2Width=3000000000\n", "Language=Dansk\n",
                           "EnableBarGraph=False\n", "Window1XPos=0\n"})
    EXPECT_NE(wide.find(line), std::string::npos) << line << " in\n" << wide;
}

TEST_F(SettingsFileTest, ARunSavesAllThirteenKeysInOrder) {
  machine.start();
  placeWindows();
  endRun();
  EXPECT_EQ(iniText(), FakeMachine::asNewFile("[System]\n"
                                              "Window1XPos=1234\n"
                                              "Window1YPos=-60\n"
                                              "Window1Width=8000.25\n"
                                              "Window2XPos=7002\n"
                                              "Window2YPos=300\n"
                                              "Window2Width=5400.75\n"
                                              "Language=English\n"
                                              "ReportFileDir=" +
                                              machine.dir.str() +
                                              "/\n"
                                              "ReportFileName=LOG.TXT\n"
                                              "EnableBarGraph=True\n"
                                              "ExcludeCDRomDrives=False\n"
                                              "ExcludeDoubleMappings=False\n"
                                              "LinkGraphToMainWindow=True\n"));
  EXPECT_EQ(m.Window1XPos, 1234);
  EXPECT_EQ(m.Window2XPos, 7002);
  EXPECT_NE(p.settingsState.call.IniWriteResult, 0);
}

TEST_F(SettingsFileTest, TheNextRunStartsWhereTheLastEnded) {
  machine.start();
  placeWindows();
  m.Language = "Deutsch";
  m.ExcludeCDs = true;
  p.form2().Command1_Click();  // "Next": the graph window is not shown at the next start
  endRun();

  machine.program = std::make_unique<Program>(machine.services);
  Program& next = machine.start();
  EXPECT_EQ(next.form1().left(), 1234);
  EXPECT_EQ(next.form1().top(), -60);
  EXPECT_EQ(next.form1().width(), 8000.25f);
  EXPECT_EQ(next.m.Window2Width, 5401);
  EXPECT_EQ(next.m.Language, "Deutsch");
  EXPECT_TRUE(next.m.ExcludeCDs);
  EXPECT_FALSE(next.m.ShowGraph);
  EXPECT_FALSE(next.form2().visible());
  EXPECT_EQ(next.m.ReportFileDir, machine.dir.str() + "/");  // no separator doubled
}

TEST_F(SettingsFileTest, AnExistingFileKeepsItsLinesAndHasItsValuesReplacedInPlace) {
  writeIni(
      "; Volumetra\r\n"
      "[Colours]\r\nBack=Black\r\n\r\n"
      "[system]\r\n"
      "language = Deutsch\r\n"
      "window1xpos=5\r\n"
      "; mine\r\n"
      "\r\n"
      "[Other]\r\nx=1\r\n");
  run();
  const std::string dirLine = "ReportFileDir=" + machine.dir.str() + "/\r\n";
  EXPECT_EQ(iniText(),
            "; Volumetra\r\n"
            "[Colours]\r\nBack=Black\r\n\r\n"
            "[system]\r\n"
            "language = Deutsch\r\n"
            "window1xpos=5\r\n"
            "Window1YPos=0\r\n"
            "Window1Width=9600\r\n"
            "Window2XPos=6650\r\n"
            "Window2YPos=230\r\n"
            "Window2Width=5310\r\n" +
                dirLine +
                "ReportFileName=LOG.TXT\r\n"
                "EnableBarGraph=True\r\n"
                "ExcludeCDRomDrives=False\r\n"
                "ExcludeDoubleMappings=False\r\n"
                "LinkGraphToMainWindow=True\r\n"
                "; mine\r\n"
                "\r\n"
                "[Other]\r\nx=1\r\n");
}

TEST_F(SettingsFileTest, AValueWithALineBreakIsNotSavedAndCannotAddASectionOrKey) {
  writeIni("[System]\nReportFileDir=/old/\n");
  machine.start();
  m.ReportFileDir = "C:\\dir\r\n[Evil]\r\nkey=1";
  m.Language = "Dansk";
  endRun();
  const std::string text = iniText();
  EXPECT_NE(text.find("ReportFileDir=/old/\n"), std::string::npos);
  EXPECT_NE(text.find("Language=Dansk\n"), std::string::npos);
  EXPECT_EQ(text.find("Evil"), std::string::npos);
  EXPECT_EQ(std::ranges::count(text, '\n'), 14);  // the section line and the thirteen keys
}

TEST_F(SettingsFileTest, AnUnwritableSettingsDirectoryLeavesTheProgramOnItsDefaults) {
  // A regular file where the program directory should be: every write fails, even for root.
  fs::remove_all(machine.dir.path());
  std::ofstream(machine.dir.path()) << "not a directory";
  Program& program = machine.start();
  EXPECT_TRUE(program.form1().visible());
  EXPECT_EQ(m.Language, "English");
  EXPECT_EQ(m.Window2Width, 5310);
  endRun();
  EXPECT_EQ(p.settingsState.call.IniWriteResult, 0);
  EXPECT_EQ(FakeMachine::read(machine.dir.path()), "not a directory");
  // The system's reason ("Not a directory" on Linux, "Path not found" on Windows).
  EXPECT_TRUE(p.settingsState.SettingsSaveError.starts_with(machine.iniPath() + ": "))
      << p.settingsState.SettingsSaveError;
  EXPECT_GT(p.settingsState.SettingsSaveError.size(), machine.iniPath().size() + 2);
}

// A save that fails at the end says where and why, for the platform to tell the user; one that
// works says nothing.
TEST_F(SettingsFileTest, ASaveThatFailsSaysWhereAndWhy) {
  writeIni("[System]\nLanguage=Dansk\n");
  fs::permissions(machine.iniPath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  run();
  EXPECT_EQ(p.settingsState.SettingsSaveError, machine.iniPath() + ": read-only file");
  EXPECT_EQ(iniText(), "[System]\nLanguage=Dansk\n");

  fs::permissions(machine.iniPath(), fs::perms::owner_write, fs::perm_options::add);
  machine.program = std::make_unique<Program>(machine.services);
  Program& next = machine.start();
  next.Unload(next.form1());
  EXPECT_EQ(next.settingsState.SettingsSaveError, "");
  EXPECT_NE(iniText().find("Window2Width=5310"), std::string::npos);
}

// What killed saves left beside the settings file goes at the next start, even when nothing is
// written then.
TEST_F(SettingsFileTest, TemporariesOfKilledSavesGoAtTheNextStartWhateverItWrites) {
  writeIni("[System]\nLanguage=Dansk\n");
  // No process has this id on either system (Linux's ids stay below 2^22, Windows' are multiples of 4).
  const fs::path left = machine.iniPath() + ".tmp.99999999.1";
  std::ofstream(left) << "[System]\nLanguage=De";
  LoadSettings(p.settingsContext());
  EXPECT_FALSE(fs::exists(left));
  EXPECT_EQ(m.Language, "Dansk");
}

// --- A program that keeps its settings away from its executable (read-only or installed).

struct SettingsBesideTheExecutableTest : SettingsFileTest {
  fs::path executableDirectory = machine.dir.path() / "bin";
  // Joined as the fake files join paths, with '/'.
  fs::path besideIni = executableDirectory.string() + "/volumetra.ini";

  SettingsBesideTheExecutableTest() {
    fs::create_directory(executableDirectory);
    machine.files.executableDirectory = executableDirectory.string();
  }
  void writeBeside(const std::string& text) const { std::ofstream(besideIni, std::ios::binary) << text; }
  std::string status() { return p.form1().StatusBar1.caption(); }
};

TEST_F(SettingsBesideTheExecutableTest,
       AFilePreparedBesideTheExecutableIsReadAndTheSaveGoesToTheProgramDirectory) {
  const std::string prepared =
      "; defaults for every "
      "user\n[System]\nLanguage=Deutsch\nWindow2Width=6000\nLinkGraphToMainWindow=False\n";
  writeBeside(prepared);
  machine.start();
  EXPECT_EQ(p.settingsState.call.IniFilePath, besideIni.string());
  EXPECT_EQ(m.Language, "Deutsch");
  EXPECT_EQ(m.Window2Width, 6000);
  EXPECT_FALSE(m.LinkGraph);
  endRun();

  EXPECT_EQ(p.settingsState.call.IniFilePath, machine.iniPath());
  const std::string saved = iniText();
  for (const char* line : {"Language=Deutsch\n", "Window2Width=6000\n", "LinkGraphToMainWindow=False\n"})
    EXPECT_NE(saved.find(FakeMachine::asNewFile(line)), std::string::npos) << saved;
  EXPECT_EQ(FakeMachine::read(besideIni), prepared);  // the prepared file is left as it was

  // From now on the program directory's own file is the one read.
  writeBeside("[System]\nLanguage=Dansk\n");
  machine.program = std::make_unique<Program>(machine.services);
  Program& next = machine.start();
  EXPECT_EQ(next.settingsState.call.IniFilePath, machine.iniPath());
  EXPECT_EQ(next.m.Language, "Deutsch");
}

TEST_F(SettingsBesideTheExecutableTest, OnlyAnOrdinaryFileBesideTheExecutableCounts) {
  fs::create_directory(besideIni);
  machine.start();
  EXPECT_EQ(p.settingsState.call.IniFilePath, machine.iniPath());
  EXPECT_EQ(m.Language, "English");
}

TEST_F(SettingsBesideTheExecutableTest, SettingsThatCannotBeSavedAreSaidOnTheStatusLineForThirtySeconds) {
  writeBeside("[System]\nLanguage=Deutsch\n");
  machine.files.unreplaceable[machine.iniPath()] = "Read-only file system";
  const std::string notice = "   Settings not saved: " + machine.iniPath() + ": Read-only file system   ";
  machine.start();
  EXPECT_EQ(m.Language, "Deutsch");  // the prepared settings are still read

  machine.advance(600);  // the first survey
  EXPECT_EQ(status(), "Testloop No. 1" + notice + "2026-12-08   10:00:00");
  machine.advance(28900);  // 29.0 s after the first survey
  EXPECT_NE(status().find(notice), std::string::npos) << status();
  machine.advance(1002);
  EXPECT_EQ(status().find("Settings not saved"), std::string::npos) << status();
  EXPECT_NE(status().find(std::string(26, ' ')), std::string::npos) << status();
  machine.advance(60000);  // said once: it does not come back
  EXPECT_EQ(status().find("Settings not saved"), std::string::npos) << status();
  endRun();  // and the program ends as usual
}

TEST_F(SettingsBesideTheExecutableTest, TheSettingsNoticeStandsBesideALogFailure) {
  machine.files.unreplaceable[machine.iniPath()] = "Permission denied";
  const std::string log = machine.dir.str() + "/LOG.TXT";
  machine.files.failingPaths.insert(log);
  machine.volumes.add('C', 10000, 2500);
  machine.start();
  m.LoggingOn = true;
  m.LogDue = true;
  machine.advance(600);
  EXPECT_NE(
      status().find("   Settings not saved: " + machine.iniPath() +
                    ": Permission denied   Log file not written: " + log + ": No space left on device   "),
      std::string::npos)
      << status();
  endRun();
}

TEST_F(SettingsBesideTheExecutableTest, SavableSettingsLeaveTheStatusLineAsUsual) {
  machine.start();
  machine.advance(600);
  EXPECT_EQ(status(), "Testloop No. 1" + std::string(26, ' ') + "2026-12-08   10:00:00");
  EXPECT_TRUE(p.settingsState.SettingsError.empty());
}

}  // namespace
}  // namespace volumetra
