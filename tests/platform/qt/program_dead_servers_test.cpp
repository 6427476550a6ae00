// The real program beside network shares whose servers are dead (needs root and /dev/fuse): it
// ends within a second of SIGTERM with its settings saved, and leaves its stuck volume helpers
// behind, which end in turn once the servers answer.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/fake_machine.h"
#include "support/linux/test_fuse.h"

extern char** environ;

namespace volumetra {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kKeys[] = {
    "Window1XPos",          "Window1YPos",    "Window1Width",       "Window2XPos",
    "Window2YPos",          "Window2Width",   "Language",           "ReportFileDir",
    "ReportFileName",       "EnableBarGraph", "ExcludeCDRomDrives", "ExcludeDoubleMappings",
    "LinkGraphToMainWindow"};
// The program's first drive discovery waits this long for the dead servers, once for all.
constexpr auto kFirstWait = 5000ms;

bool Eventually(const std::function<bool()>& query) {
  for (const auto deadline = Clock::now() + 5s; Clock::now() < deadline; std::this_thread::sleep_for(10ms))
    if (query()) return true;
  return query();
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ProgramWithDeadServers : public ::testing::TestWithParam<int> {};

TEST_P(ProgramWithDeadServers, EndsWithinASecondOfSigtermWithItsSettingsSaved) {
  if (const std::string why = TestFuse::Unavailable(VOLUMETRA_TEST_FUSE); !why.empty()) GTEST_SKIP() << why;
  ASSERT_TRUE(EnterPrivateMountNamespace());
  const TempDir dir;
  // The program and its helper, side by side as in the build tree.
  const fs::path program = dir.path() / "volumetra";
  const fs::path helper = dir.path() / fs::path(VOLUMETRA_HELPER).filename();
  fs::copy_file(VOLUMETRA_BINARY, program);
  fs::copy_file(VOLUMETRA_HELPER, helper);
  fs::create_directories(dir.path() / "shares");
  std::vector<std::unique_ptr<TestFuse>> servers;
  for (int i = 0; i < GetParam(); ++i) {
    fs::create_directory(dir.path() / "shares" / std::to_string(i));
    servers.push_back(std::make_unique<TestFuse>(VOLUMETRA_TEST_FUSE,
                                                 (dir.path() / "shares" / std::to_string(i)).string()));
    ASSERT_TRUE(servers.back()->mounted());
    servers.back()->StopAnswering();
  }

  fs::create_directory(dir.path() / "run");
  fs::permissions(dir.path() / "run", fs::perms::owner_all);
  std::vector<std::string> settings = {
      "QT_QPA_PLATFORM=offscreen", "HOME=" + dir.str(), "XDG_CONFIG_HOME=" + dir.str() + "/config",
      "XDG_STATE_HOME=" + dir.str() + "/state", "XDG_RUNTIME_DIR=" + dir.str() + "/run"};
  std::vector<char*> environment;
  for (std::string& entry : settings) environment.push_back(entry.data());
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view name(*entry);
    if (!name.starts_with("HOME=") && !name.starts_with("XDG_") && !name.starts_with("QT_QPA_PLATFORM="))
      environment.push_back(*entry);
  }
  environment.push_back(nullptr);
  std::string path = program.string();
  char* arguments[] = {path.data(), nullptr};
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, path.c_str(), nullptr, nullptr, arguments, environment.data()), 0);

  // Past its one wait for the dead servers, the program runs on; their helpers are stuck.
  std::this_thread::sleep_for(kFirstWait + 1500ms);
  ASSERT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "the program ended by itself";
  EXPECT_GE(ProcessesRunning(helper.string()).size(), static_cast<std::size_t>(GetParam()));

  ASSERT_EQ(kill(pid, SIGTERM), 0);
  const auto asked = Clock::now();
  int status = -1;
  pid_t ended = 0;
  while ((ended = waitpid(pid, &status, WNOHANG)) == 0 && Clock::now() - asked < 10s)
    std::this_thread::sleep_for(5ms);
  const auto took = Clock::now() - asked;
  if (ended == 0) {
    // Held by a call no signal interrupts: only an answer lets it go.
    for (const auto& server : servers) server->AnswerAgain();
    waitpid(pid, &status, 0);
  }
  ASSERT_EQ(ended, pid) << "still running 10 s after SIGTERM";
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
  RecordProperty("milliseconds_from_sigterm_to_end", static_cast<int>(ms));
  EXPECT_LT(took, 1s) << ms << " ms";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  const std::string saved = ReadAll(dir.path() / "volumetra.ini");
  for (const char* key : kKeys)
    EXPECT_NE(saved.find(std::string("\n") + key + "="), std::string::npos) << key << " in:\n" << saved;

  // The helpers stuck on the dead servers outlived the program, and end once the servers answer.
  EXPECT_TRUE(Eventually([&] {
    return ProcessesRunning(helper.string()).size() == static_cast<std::size_t>(GetParam());
  })) << "the idle helpers end with the program, the stuck ones stay";
  for (const auto& server : servers) server->AnswerAgain();
  EXPECT_TRUE(Eventually([&] { return ProcessesRunning(helper.string()).empty(); }));
}

INSTANTIATE_TEST_SUITE_P(Servers, ProgramWithDeadServers, ::testing::Values(1, 4));

}  // namespace
}  // namespace volumetra
