// One running copy per settings file on Windows: the key of a settings file, the running copy and a
// later start in threads of this process, and the real program started twice under Wine.
#include "platform/win32/running_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <future>
#include <thread>

#include "platform/win32/program_process.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/wine_drives.h"
#include "support/fake_machine.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

TEST(RunningCopyKey, IsOnePerSettingsFileHoweverItsPlaceIsSpelt) {
  TempDir dir;
  TempDir other;
  std::filesystem::create_directory(dir.path() / "sub");
  const std::wstring key = RunningCopyKey(dir.str(), "volumetra");
  EXPECT_EQ(key.size(), 16u);
  EXPECT_EQ(key.find_first_not_of(L"0123456789abcdef"), std::wstring::npos);
  EXPECT_EQ(RunningCopyKey(Upper(dir.str()), "VOLUMETRA"), key);
  EXPECT_EQ(RunningCopyKey(dir.str() + "\\sub\\..", "volumetra"), key);
  EXPECT_NE(RunningCopyKey(other.str(), "volumetra"), key);
  EXPECT_NE(RunningCopyKey(dir.str(), "volumetra2"), key);
}

/// The running copy of the settings file of `exePath`, in a thread of its own as in a process of
/// its own: it takes the mutex, listens after `listenAfter` (never when negative) and handles
/// its messages until the object goes, then lets go of the mutex.
class CopyInThread {
 public:
  CopyInThread(const std::string& exePath, std::chrono::milliseconds listenAfter, bool raises = true)
      : thread_([=, this] {
          Win32Files files(exePath);
          RunningCopy copy(files);
          MSG message;
          PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's message queue
          threadId_ = GetCurrentThreadId();
          holds_.set_value(!copy.heldElsewhere());
          if (listenAfter >= 0ms) {
            std::this_thread::sleep_for(listenAfter);
            copy.Listen([this, raises] {
              ++raised;
              return raises;
            });
          }
          while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        }) {}
  ~CopyInThread() { End(); }

  bool holds() { return holdsFuture_.get(); }
  void End() {
    if (!thread_.joinable()) return;
    holdsFuture_.wait();
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }

  std::atomic<int> raised{0};

 private:
  std::promise<bool> holds_;
  std::shared_future<bool> holdsFuture_ = holds_.get_future().share();
  std::atomic<DWORD> threadId_{0};
  std::thread thread_;
};

struct RunningCopyTest : ::testing::Test {
  TempDir dir;
  std::string exe = dir.str() + "\\volumetra.exe";
};

TEST_F(RunningCopyTest, ALaterStartIsAnsweredByTheCopyOfItsSettingsFileOnceItListens) {
  // Listening at once, and only a moment after the later start first looked for it.
  for (const auto listenAfter : {0ms, 300ms}) {
    CopyInThread first(exe, listenAfter);
    ASSERT_TRUE(first.holds());
    Win32Files files(exe);
    RunningCopy later(files);
    ASSERT_TRUE(later.heldElsewhere());
    EXPECT_EQ(later.AskToRaise(10s), LaterStart::Raised) << listenAfter.count();
    EXPECT_EQ(first.raised, 1) << listenAfter.count();
    EXPECT_FALSE(later.Listen([] { return true; })) << "a later start is found by no one";

    Win32Files renamed(dir.str() + "\\volumetra-portable.exe");
    EXPECT_FALSE(RunningCopy(renamed).heldElsewhere()) << "another settings file in the same folder";
  }
}

TEST_F(RunningCopyTest, ALaterStartTakesThePlaceOfACopyThatEndsMeanwhile) {
  CopyInThread first(exe, -1ms);
  ASSERT_TRUE(first.holds());
  Win32Files files(exe);
  RunningCopy later(files);
  ASSERT_TRUE(later.heldElsewhere());
  std::thread ending([&first] {
    std::this_thread::sleep_for(300ms);
    first.End();
  });
  EXPECT_EQ(later.AskToRaise(10s), LaterStart::LockTaken);
  ending.join();
  EXPECT_FALSE(later.heldElsewhere());
  EXPECT_TRUE(later.Listen([] { return true; }));
}

TEST_F(RunningCopyTest, ACopyThatDoesNotRaiseItsWindowIsGivenUpOn) {
  for (const auto listenAfter : {-1ms, 0ms}) {
    CopyInThread first(exe, listenAfter, /*raises=*/false);
    ASSERT_TRUE(first.holds());
    Win32Files files(exe);
    RunningCopy later(files);
    EXPECT_EQ(later.AskToRaise(300ms), LaterStart::Unanswered) << listenAfter.count();
    EXPECT_TRUE(later.heldElsewhere());
  }
}

/// The real program: copies of volumetra.exe in folders of their own.
struct SingleCopyTest : ::testing::Test {
  std::string CopyOfProgram(const TempDir& dir) {
    const std::string exe = dir.str() + "\\volumetra.exe";
    EXPECT_TRUE(std::filesystem::copy_file(WindowsPathOf(VOLUMETRA_EXE), exe));
    return exe;
  }
  static bool Exists(const std::string& path) { return std::filesystem::exists(path); }
};

TEST_F(SingleCopyTest, ASecondStartBringsTheMinimisedFirstCopyBackToTheFrontAndEnds) {
  TempDir dir;
  const std::string exe = CopyOfProgram(dir);
  ProgramProcess first(exe);
  ASSERT_TRUE(first.started());
  const HWND main = first.MainWindow(30s);
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(Eventually([main] { return IsIconic(main) != FALSE; }, 10s));

  // The same program file, named in other letter case.
  ProgramProcess second(Upper(exe));
  ASSERT_TRUE(second.started());
  EXPECT_EQ(second.WaitForExit(20s), std::optional<DWORD>(0));
  EXPECT_TRUE(Eventually([main] { return !IsIconic(main) && GetForegroundWindow() == main; }, 10s))
      << "minimised " << IsIconic(main) << ", in front " << (GetForegroundWindow() == main);
  EXPECT_EQ(MainWindows(), std::vector<HWND>{main});
  EXPECT_FALSE(Exists(dir.str() + "\\volumetra.ini")) << "the second start saved settings";

  EXPECT_EQ(first.Close(20s), std::optional<DWORD>(0));
  EXPECT_TRUE(Exists(dir.str() + "\\volumetra.ini"));
}

TEST_F(SingleCopyTest, CopiesWithSettingsFilesOfTheirOwnRunSideBySide) {
  TempDir installed;
  TempDir portable;
  ProgramProcess one(CopyOfProgram(installed));
  ProgramProcess other(CopyOfProgram(portable));
  const HWND oneWindow = one.MainWindow(30s);
  const HWND otherWindow = other.MainWindow(30s);
  EXPECT_NE(oneWindow, nullptr);
  EXPECT_NE(otherWindow, nullptr);
  EXPECT_EQ(MainWindows().size(), 2u);
  EXPECT_EQ(one.Close(20s), std::optional<DWORD>(0));
  EXPECT_EQ(other.Close(20s), std::optional<DWORD>(0));
  EXPECT_TRUE(Exists(installed.str() + "\\volumetra.ini"));
  EXPECT_TRUE(Exists(portable.str() + "\\volumetra.ini"));
}

TEST_F(SingleCopyTest, ACopyThatWasKilledDoesNotKeepTheNextStartOut) {
  TempDir dir;
  const std::string exe = CopyOfProgram(dir);
  {
    ProgramProcess crashed(exe);
    ASSERT_NE(crashed.MainWindow(30s), nullptr);
    crashed.Kill();
  }
  ProgramProcess next(exe);
  EXPECT_NE(next.MainWindow(30s), nullptr);
  EXPECT_EQ(next.Close(20s), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace volumetra
