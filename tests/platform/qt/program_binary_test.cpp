// The real program end to end: started offscreen, ended by SIGTERM like a session end, it leaves
// with exit code 0 after writing its settings file.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>

#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

TEST(ProgramBinary, EndsCleanlyOnSigtermAndSavesItsSettings) {
  EnsureQtApplication();
  const TempDir dir;
  // A copy of its own keeps the settings file the program writes beside itself in the test's tree.
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
  EXPECT_TRUE(fs::exists(dir.path() / "volumetra.ini") ||
              fs::exists(dir.path() / "config/volumetra/volumetra.ini"));
}

}  // namespace
}  // namespace volumetra
