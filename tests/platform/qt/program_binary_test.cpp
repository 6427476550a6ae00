// The real program end to end: started offscreen, ended by SIGTERM like a session end, it leaves
// with exit code 0 after writing its settings file. One copy runs per settings file: a later start
// raises it and ends, and a copy killed outright leaves nothing that keeps the next one out.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ini_temporaries.h"
#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

namespace fs = std::filesystem;

/// A copy of the real binary in `dir` (so the settings file it writes beside itself stays in the
/// test's tree), with a home, configuration and runtime directory of its own there.
class ProgramCopy {
 public:
  explicit ProgramCopy(const TempDir& dir) : dir_(dir), binary_(dir.path() / "volumetra") {
    fs::copy_file(VOLUMETRA_BINARY, binary_);
    fs::create_directories(dir.path() / "config");
    fs::create_directories(dir.path() / "home");
    fs::create_directories(runtime());
    fs::permissions(runtime(), fs::perms::owner_all);
  }

  fs::path runtime() const { return dir_.path() / "run"; }

  /// Starts one more run of the copy, offscreen; `readErrors`: its error stream is kept to read.
  std::unique_ptr<QProcess> start(bool readErrors = false) const {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir_.path() / "config").string()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime().string()));
    env.insert("HOME", QString::fromStdString((dir_.path() / "home").string()));
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(QString::fromStdString(dir_.str()));
    process->setProcessChannelMode(readErrors ? QProcess::ForwardedOutputChannel
                                              : QProcess::ForwardedChannels);
    process->start(QString::fromStdString(binary_.string()), {});
    EXPECT_TRUE(process->waitForStarted());
    return process;
  }

  /// Waits until a running copy listens for later starts (its socket is in the runtime directory).
  bool waitUntilListening() const {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
      for (const auto& entry : fs::directory_iterator(runtime()))
        if (entry.is_socket()) return true;
      QThread::msleep(20);
    }
    return false;
  }

 private:
  const TempDir& dir_;
  fs::path binary_;
};

void Terminate(QProcess& process) {
  ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
  ASSERT_TRUE(process.waitForFinished(20000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0);
}

/// Runs the copy for two seconds, then ends it with SIGTERM like a session end.
void RunAndTerminate(const TempDir& dir) {
  const ProgramCopy copy(dir);
  const std::unique_ptr<QProcess> process = copy.start();
  // Let it run its first surveys; it must still be running then.
  EXPECT_FALSE(process->waitForFinished(2000));
  Terminate(*process);
}

/// Process `pid` holds an unnamed file of `directory` open: the new content of a save there, not yet
/// named (readlink shows such a file as "<directory>/#<inode> (deleted)").
bool HoldsUnnamedFileIn(pid_t pid, const fs::path& directory) {
  const std::string unnamed = directory.string() + "/#";
  std::error_code ec;
  for (fs::directory_iterator fd("/proc/" + std::to_string(pid) + "/fd", ec), end; !ec && fd != end;
       fd.increment(ec)) {
    std::error_code linkError;
    const std::string target = fs::read_symlink(fd->path(), linkError).string();
    if (!linkError && target.starts_with(unnamed) && target.ends_with(" (deleted)")) return true;
  }
  return false;
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

// A save that fails when a termination signal ends the program is told on the error stream (and
// the system log), where no one would see a box, and the file is left as it was: a read-only file,
// and, as root, a file on a disk that is full.
TEST(ProgramBinary, ASaveThatFailsAtASignalIsToldOnTheErrorStream) {
  EnsureQtApplication();
  const TempDir dir;
  struct Case {
    fs::path ini;
    std::string reason;
  };
  std::vector<Case> cases;
  const fs::path readOnly = dir.path() / "volumetra.ini";
  std::ofstream(readOnly) << "[System]\nLanguage=Dansk\n";
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  cases.push_back({readOnly, "read-only file"});

  const fs::path full = dir.path() / "full";
  fs::create_directory(full);
  const bool mounted = geteuid() == 0 && ::mount("volumetra-full", full.c_str(), "tmpfs", 0, "size=16k") == 0;
  // Unmounted however the test ends.
  const struct Unmount {
    fs::path path;
    bool mounted;
    ~Unmount() {
      if (mounted) ::umount2(path.c_str(), MNT_DETACH);
    }
  } unmount{full, mounted};
  if (mounted) {
    std::ofstream(full / "volumetra.ini") << "[System]\nLanguage=Dansk\n";
    std::ofstream(full / "filler") << std::string(64 * 1024, 'x');  // fills the disk
    cases.push_back({full / "volumetra.ini", "No space left on device"});
  } else {
    std::cout << "[ NOTE     ] the full disk needs root (a small tmpfs); only the read-only file is tried\n";
  }

  const ProgramCopy copy(dir);
  for (const Case& c : cases) {
    if (c.ini != readOnly) {
      fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);
      fs::remove(readOnly);
      fs::create_symlink(c.ini, readOnly);  // the save lands in the linked file's directory
    }
    const std::unique_ptr<QProcess> process = copy.start(true);
    EXPECT_FALSE(process->waitForFinished(2000));
    Terminate(*process);
    const std::string told = process->readAllStandardError().toStdString();
    EXPECT_NE(told.find("volumetra: Settings not saved: "), std::string::npos) << told;
    EXPECT_NE(told.find(": " + c.reason + "\n"), std::string::npos) << told;
    EXPECT_EQ(ReadAll(c.ini), "[System]\nLanguage=Dansk\n");
  }
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
  const ProgramCopy copy(dir);
  int whole[2] = {0, 0};
  for (int round = 0; round < 16; ++round) {
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << old;
    const std::unique_ptr<QProcess> process = copy.start();
    EXPECT_FALSE(process->waitForFinished(400));
    const auto pid = static_cast<pid_t>(process->processId());
    ::kill(pid, SIGTERM);
    // The save follows the signal within a few milliseconds; the kill falls before, in or after it.
    ::usleep(static_cast<useconds_t>(round * 700));
    ::kill(pid, SIGKILL);
    ASSERT_TRUE(process->waitForFinished(20000));
    const std::string text = ReadAll(ini);
    ASSERT_TRUE(text == old || text == saved) << "round " << round << ":\n" << text;
    ++whole[text == saved ? 1 : 0];
  }
  std::cout << "kills that left the old file: " << whole[0] << ", the new one: " << whole[1] << "\n";

  // Kills aimed into the save: as soon as the new content is seen open without a name. A kill that
  // then leaves the old file landed inside the save, before the new content took the file's name.
  int inside = 0;
  for (int round = 0; round < 8; ++round) {
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << old;
    const std::unique_ptr<QProcess> process = copy.start();
    EXPECT_FALSE(process->waitForFinished(400));
    const auto pid = static_cast<pid_t>(process->processId());
    ::kill(pid, SIGTERM);
    QElapsedTimer waited;
    waited.start();
    bool seen = false;
    while (!seen && waited.elapsed() < 3000) seen = HoldsUnnamedFileIn(pid, dir.path());
    ::kill(pid, SIGKILL);
    ASSERT_TRUE(process->waitForFinished(20000));
    const std::string text = ReadAll(ini);
    ASSERT_TRUE(text == old || text == saved) << "aimed round " << round << ":\n" << text;
    if (seen && text == old && process->exitStatus() == QProcess::CrashExit) ++inside;
  }
  std::cout << "aimed kills that landed inside the save: " << inside << " of 8\n";
  EXPECT_GT(inside, 0);

  // A save that runs to its end removes the temporary files that killed saves left behind. Only
  // one whose process id another running process has taken since stays, until that one ends.
  const std::unique_ptr<QProcess> last = copy.start();
  EXPECT_FALSE(last->waitForFinished(1000));
  Terminate(*last);
  const std::string prefix = ini_file::TemporaryPrefix("volumetra.ini");
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.path())) {
    const std::uint32_t writer = ini_file::TemporaryWriter(entry.path().filename().string(), prefix);
    EXPECT_TRUE(writer == 0 || ::kill(static_cast<pid_t>(writer), 0) == 0) << entry.path();
  }
}

TEST(ProgramBinary, ASecondStartRaisesTheRunningCopyAndEndsWithZero) {
  EnsureQtApplication();
  const TempDir dir;
  const ProgramCopy copy(dir);
  const std::unique_ptr<QProcess> first = copy.start();
  ASSERT_TRUE(copy.waitUntilListening());

  for (int start = 0; start < 2; ++start) {
    const std::unique_ptr<QProcess> later = copy.start();
    ASSERT_TRUE(later->waitForFinished(10000));
    EXPECT_EQ(later->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(later->exitCode(), 0);
  }
  EXPECT_EQ(first->state(), QProcess::Running);
  Terminate(*first);
  EXPECT_NE(ReadAll(dir.path() / "volumetra.ini").find("[System]\n"), std::string::npos);
}

TEST(ProgramBinary, ALockLeftByAKilledCopyNeverKeepsTheNextStartOut) {
  EnsureQtApplication();
  const TempDir dir;
  const ProgramCopy copy(dir);
  const std::unique_ptr<QProcess> killed = copy.start();
  ASSERT_TRUE(copy.waitUntilListening());
  ASSERT_EQ(::kill(static_cast<pid_t>(killed->processId()), SIGKILL), 0);
  ASSERT_TRUE(killed->waitForFinished(10000));
  EXPECT_EQ(killed->exitStatus(), QProcess::CrashExit);
  EXPECT_FALSE(fs::is_empty(copy.runtime()));  // its lock file and socket stay behind

  const std::unique_ptr<QProcess> next = copy.start();
  EXPECT_FALSE(next->waitForFinished(2000)) << "exit code " << next->exitCode();
  Terminate(*next);
  EXPECT_NE(ReadAll(dir.path() / "volumetra.ini").find("[System]\n"), std::string::npos);
}

TEST(ProgramBinary, CopiesWithSettingsOfTheirOwnRunSideBySide) {
  EnsureQtApplication();
  const TempDir one;
  const TempDir other;
  const ProgramCopy first(one);
  const ProgramCopy second(other);
  fs::remove_all(second.runtime());
  fs::create_directory_symlink(first.runtime(), second.runtime());  // one runtime directory
  const std::unique_ptr<QProcess> a = first.start();
  ASSERT_TRUE(first.waitUntilListening());
  const std::unique_ptr<QProcess> b = second.start();
  EXPECT_FALSE(b->waitForFinished(2000));
  EXPECT_EQ(a->state(), QProcess::Running);
  Terminate(*a);
  Terminate(*b);
}

}  // namespace
}  // namespace volumetra
