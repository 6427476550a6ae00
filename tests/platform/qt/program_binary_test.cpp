// The real program end to end: started offscreen, ended by SIGTERM like a session end, it leaves
// with exit code 0 after writing its settings file.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

/// Runs a copy of the real binary in `dir` (so the settings file it writes beside itself stays in
/// the test's tree) offscreen for two seconds, then ends it with SIGTERM like a session end.
void RunAndTerminate(const TempDir& dir) {
  const fs::path binary = dir.path() / "volumetra";
  fs::copy_file(VOLUMETRA_BINARY, binary);
  fs::create_directories(dir.path() / "config");
  fs::create_directories(dir.path() / "home");

  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.path() / "config").string()));
  env.insert("HOME", QString::fromStdString((dir.path() / "home").string()));
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(QString::fromStdString(dir.str()));
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start(QString::fromStdString(binary.string()), {});
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

}  // namespace
}  // namespace volumetra
