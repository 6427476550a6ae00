#pragma once

// The outages of a network share's server that the dead-server tests of both backends put the
// whole program through, and what the window must show meanwhile.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "app/form1.h"
#include "app/program.h"
#include "support/headless/virtual_event_loop.h"
#include "support/server_outages.h"

namespace volumetra::outages {

/// The network share `letter` of a program on the virtual event loop, as its window shows it.
class WatchedShare {
 public:
  WatchedShare(VirtualEventLoop& loop, Program& program, char letter)
      : loop_(loop), program_(program), letter_(letter) {}

  /// Its row in the drive table, or -1.
  int Row() const {
    const std::size_t at = program_.m.DriveLetters.find(letter_);
    return at == std::string::npos ? -1 : static_cast<int>(at);
  }
  const DriveRec& Record() const { return program_.m.DriveRecs[Row() + 1]; }
  std::string TotalCell() const {
    return program_.form1().Label5[static_cast<std::size_t>(Row())]->caption();
  }
  bool TimedOut() const { return program_.m.TimedOutLetters.find(letter_) != std::string::npos; }
  /// The sums line under the table.
  std::string Sums() const { return program_.form1().Label182.caption(); }

  /// Lets time pass until the loop's clock reads `at` (milliseconds since start).
  void AdvanceTo(std::int64_t at) { loop_.advance(at - loop_.now()); }
  /// Lets time pass until the share shows its size again; how long that took, or -1 when it did
  /// not within `most` milliseconds.
  std::int64_t UntilBack(std::int64_t most) {
    const std::int64_t start = loop_.now();
    while (loop_.now() - start <= most) {
      loop_.advance(100);
      if (!TimedOut() && TotalCell() != "timeout") return loop_.now() - start;
    }
    return -1;
  }

  VirtualEventLoop& loop() { return loop_; }

 private:
  VirtualEventLoop& loop_;
  Program& program_;
  char letter_;
};

/// The share's server as a backend's scripted calls play it.
struct ShareServer {
  std::function<void()> die;
  std::function<void()> answerAgain;
  /// How long the program has waited for calls in all.
  std::function<std::chrono::nanoseconds()> timeWaited;
};

/// A share that answered dies: the next survey waits out the limit once, and from then on, over
/// several resets and the refreshes between them, the share keeps its row and its last values,
/// says "timeout", is out of the sums and never holds the window again. The share of 100 GB
/// answers at the call.
inline void DeadServerKeepsSayingTimeoutWithItsLastValues(WatchedShare& share, const ShareServer& server) {
  ASSERT_GE(share.Row(), 0);
  const DriveRec before = share.Record();
  ASSERT_NEAR(before.TotalGB, 100.0, 1e-9);
  const std::string sums = share.Sums();

  server.die();
  share.loop().advance(kSurvey);  // the next survey waits out the limit once
  EXPECT_EQ(server.timeWaited(), kLimit);
  EXPECT_TRUE(share.TimedOut());
  EXPECT_EQ(share.Record().TimeoutMark, "T O");
  share.loop().advance(kSurvey);
  EXPECT_EQ(share.TotalCell(), "timeout");

  for (int reset = 0; reset < 4; ++reset) {
    share.loop().advance(kReset);
    EXPECT_TRUE(share.TimedOut()) << reset;
    EXPECT_EQ(share.TotalCell(), "timeout") << reset;
    EXPECT_EQ(share.Record().TotalGB, before.TotalGB) << reset;
    EXPECT_EQ(share.Record().FreeMB, before.FreeMB) << reset;
    EXPECT_EQ(share.Record().VolumeName, before.VolumeName) << reset;
    EXPECT_EQ(share.Record().SerialNumber, before.SerialNumber) << reset;
    EXPECT_GE(share.Row(), 0) << "a silent share keeps its row";
    EXPECT_NE(share.Sums(), sums) << "the silent drive is out of the sums";
  }
  EXPECT_EQ(server.timeWaited(), kLimit) << "the window waited again";
}

/// The server dies and answers again as `outage` says: the share of 100 GB is back within one
/// reset period of the server's answering, after the one wait of its death.
inline void ShareIsBackWithinOneResetPeriod(WatchedShare& share, const ShareServer& server,
                                            const Outage& outage) {
  share.AdvanceTo(outage.dies);
  server.die();
  share.loop().advance(kSurvey + 5100);
  ASSERT_TRUE(share.TimedOut());
  share.AdvanceTo(outage.answers);
  server.answerAgain();
  const std::int64_t back = share.UntilBack(3 * kReset);
  ASSERT_GE(back, 0) << "never back";
  EXPECT_LE(back, kReset + kSurvey + 100);
  EXPECT_NEAR(share.Record().TotalGB, 100.0, 1e-9);
  EXPECT_EQ(server.timeWaited(), kLimit);
}

}  // namespace volumetra::outages
