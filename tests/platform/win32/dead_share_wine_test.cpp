// The real program under Wine with a network drive whose server stops answering (a FUSE file
// system that tests/platform/win32/dead_share_under_wine.sh mounts and registers as a network drive
// of a Wine prefix of its own): its window keeps answering through the outage, the drive's row
// says "timeout", and a close while the server is still dead ends the program at once, its
// settings saved.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "platform/win32/running_program.h"
#include "platform/win32/wine_drives.h"
#include "support/fake_machine.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// How long the server stays dead, and how long the window may take to answer a message: one wait
// for the calls that hang (the program's call limit of 5 s), and a little for the machine.
constexpr auto kOutage = 32s;
constexpr auto kAnswerLimit = 6s;

/// The server of the share answers nothing while the object lives.
class Silence {
 public:
  explicit Silence(const std::string& file) : file_(file) {
    const HANDLE created = CreateFileA(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    made_ = created != INVALID_HANDLE_VALUE;
    if (made_) CloseHandle(created);
  }
  ~Silence() {
    if (made_) DeleteFileA(file_.c_str());
  }
  Silence(const Silence&) = delete;
  Silence& operator=(const Silence&) = delete;
  bool made() const { return made_; }

 private:
  std::string file_;
  bool made_ = false;
};

TEST(DeadShareUnderWine, TheWindowAnswersThroughTheOutageAndClosesAtOnceWhileTheServerIsDead) {
  const std::optional<DeadShare> share = PreparedDeadShare();
  if (!share)
    GTEST_SKIP() << "needs the network drive of tests/platform/win32/dead_share_under_wine.sh, run as root";
  TempDir dir;
  ASSERT_TRUE(RunningProgram::CopyTo(dir.str()));
  RunningProgram program(dir.str());
  ASSERT_TRUE(program.started());
  const HWND main = program.WaitForMainWindow(30s);
  ASSERT_NE(main, nullptr);
  const std::string letter{share->letter, ':'};
  int row = -1;
  ASSERT_TRUE(Eventually(
      [&] {
        const std::vector<std::string> rows = ShownRows(main);
        row = static_cast<int>(std::find(rows.begin(), rows.end(), letter) - rows.begin());
        return row < static_cast<int>(rows.size()) && ControlText(main, "Label4", row).starts_with("Net");
      },
      20s))
      << "no row of the network drive " << letter;
  const std::string total = ControlText(main, "Label5", row);
  ASSERT_NE(total, "timeout");

  {
    const Silence silence(share->silence);
    ASSERT_TRUE(silence.made());
    const auto outageEnds = Clock::now() + kOutage;
    auto longest = Clock::duration::zero();
    int checks = 0;
    while (Clock::now() < outageEnds) {
      const auto asked = Clock::now();
      DWORD_PTR result = 0;
      const bool answered =
          SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL,
                              static_cast<UINT>(std::chrono::milliseconds(kAnswerLimit).count()),
                              &result) != 0;
      const auto took = Clock::now() - asked;
      EXPECT_LE(took, kAnswerLimit + 1s);
      EXPECT_TRUE(answered)
          << "the window gave no answer within " << kAnswerLimit.count() << " s, "
          << std::chrono::duration_cast<std::chrono::seconds>(kOutage - (outageEnds - asked)).count()
          << " s into the outage";
      longest = std::max(longest, took);
      ++checks;
      Sleep(200);
    }
    std::cout << checks << " messages through the outage, the slowest answered in "
              << std::chrono::duration_cast<std::chrono::milliseconds>(longest).count() << " ms\n";
    EXPECT_EQ(ControlText(main, "Label5", row), "timeout");

    // Closed while the server is still dead, the program ends at once.
    const auto closed = Clock::now();
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForEnd(kAnswerLimit), std::optional<DWORD>(0));
    std::cout << "the process ended "
              << std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - closed).count()
              << " ms after the close\n";
    EXPECT_NE(FakeMachine::read(dir.str() + "\\volumetra.ini").find("Window1XPos="), std::string::npos);
  }
}

}  // namespace
}  // namespace volumetra
