// The real program end to end: started offscreen, ended by SIGTERM like a session end, it leaves
// with exit code 0 after writing its settings file.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

/// Starts a copy of the real binary in `dir` (so the settings file it writes beside itself stays
/// in the test's tree) offscreen, with a home and configuration directory of its own there.
void Start(const TempDir& dir, QProcess& process) {
  const fs::path binary = dir.path() / "volumetra";
  if (!fs::exists(binary)) fs::copy_file(VOLUMETRA_BINARY, binary);
  fs::create_directories(dir.path() / "config");
  fs::create_directories(dir.path() / "home");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.path() / "config").string()));
  env.insert("HOME", QString::fromStdString((dir.path() / "home").string()));
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(QString::fromStdString(dir.str()));
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start(QString::fromStdString(binary.string()), {});
}

/// Runs the real binary in `dir` for two seconds, then ends it with SIGTERM like a session end.
void RunAndTerminate(const TempDir& dir) {
  QProcess process;
  Start(dir, process);
  ASSERT_TRUE(process.waitForStarted());

  // Let it run its first surveys; it must still be running then.
  EXPECT_FALSE(process.waitForFinished(2000));
  ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
  ASSERT_TRUE(process.waitForFinished(20000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ProgramBinary, EndsCleanlyOnSigtermAndSavesItsSettings) {
  EnsureQtApplication();
  const TempDir dir;
  RunAndTerminate(dir);
  EXPECT_TRUE(fs::exists(dir.path() / "volumetra.ini") ||
              fs::exists(dir.path() / "config/volumetra/volumetra.ini"));
}

TEST(ProgramBinary, SavesAPreparedSettingsFileBackInPlace) {
  EnsureQtApplication();
  const TempDir dir;
  const fs::path ini = dir.path() / "volumetra.ini";
  {
    std::ofstream out(ini, std::ios::binary);
    out << "; kept by hand\n[system]\nwindow1xpos=300\nWindow1YPos=200\nWindow2XPos=7000\nWindow2YPos=450\n"
           "Window2Width=6000\nLanguage=Deutsch\nReportFileDir="
        << dir.str() << "/logs\nReportFileName=MY.LOG\nEnableBarGraph=false\nExcludeCDRomDrives=TRUE\n"
        << "ExcludeDoubleMappings=0\nLinkGraphToMainWindow=False\n\n[Other]\nkeep=me\n";
  }
  RunAndTerminate(dir);

  const std::string saved = ReadAll(ini);
  for (const std::string& line : std::initializer_list<std::string>{
           "; kept by hand\n", "window1xpos=300\n", "Window1YPos=200\n", "Window2XPos=7000\n",
           "Window2YPos=450\n", "Window2Width=6000\n", "Language=Deutsch\n",
           "ReportFileDir=" + dir.str() + "/logs/\n", "ReportFileName=MY.LOG\n", "EnableBarGraph=False\n",
           "ExcludeCDRomDrives=True\n", "ExcludeDoubleMappings=False\n", "LinkGraphToMainWindow=False\n",
           "[Other]\nkeep=me\n"}) {
    EXPECT_NE(saved.find(line), std::string::npos) << line << " missing from:\n" << saved;
  }
  EXPECT_NE(saved.find("Window1Width="), std::string::npos);
  // A key the file did not have joins the end of its own section.
  EXPECT_GT(saved.find("Window1Width="), saved.find("LinkGraphToMainWindow="));
  EXPECT_LT(saved.find("Window1Width="), saved.find("[Other]"));
}

TEST(ProgramBinary, AKillDuringTheSaveLeavesTheOldSettingsOrTheNewOnesNeverAMix) {
  EnsureQtApplication();
  const TempDir dir;
  const fs::path ini = dir.path() / "volumetra.ini";
  // Every key but the language and the file name is saved in another form than it is stored here,
  // so each key shows whether the save reached it.
  const std::string old =
      "[System]\nWindow1XPos=300.0\nWindow1YPos=200.0\nWindow1Width=9000.0\n"
      "Window2XPos=7000.0\nWindow2YPos=450.0\nWindow2Width=6000.0\nLanguage=English\n"
      "ReportFileDir=" +
      dir.str() +
      "\nReportFileName=LOG.TXT\nEnableBarGraph=0\n"
      "ExcludeCDRomDrives=1\nExcludeDoubleMappings=0\nLinkGraphToMainWindow=0\n";
  const std::string saved =
      "[System]\nWindow1XPos=300\nWindow1YPos=200\nWindow1Width=9000\n"
      "Window2XPos=7000\nWindow2YPos=450\nWindow2Width=6000\nLanguage=English\n"
      "ReportFileDir=" +
      dir.str() +
      "/\nReportFileName=LOG.TXT\nEnableBarGraph=False\n"
      "ExcludeCDRomDrives=True\nExcludeDoubleMappings=False\nLinkGraphToMainWindow=False\n";
  int whole[2] = {0, 0};
  for (int round = 0; round < 16; ++round) {
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << old;
    QProcess process;
    Start(dir, process);
    ASSERT_TRUE(process.waitForStarted());
    EXPECT_FALSE(process.waitForFinished(400));
    const auto pid = static_cast<pid_t>(process.processId());
    ::kill(pid, SIGTERM);
    // The save follows the signal within a few milliseconds; the kill falls before, in or after it.
    ::usleep(static_cast<useconds_t>(round * 700));
    ::kill(pid, SIGKILL);
    ASSERT_TRUE(process.waitForFinished(20000));
    const std::string text = ReadAll(ini);
    ASSERT_TRUE(text == old || text == saved) << "round " << round << ":\n" << text;
    ++whole[text == saved ? 1 : 0];
  }
  std::cout << "kills that left the old file: " << whole[0] << ", the new one: " << whole[1] << "\n";

  // A save that runs to its end removes the temporary files that killed saves left behind.
  RunAndTerminate(dir);
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().filename().string().find("volumetra.ini.tmp."), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace volumetra
