// The whole run cycle on the virtual clock: timers, probe pass, report cycle and log together.
#include <gtest/gtest.h>

#include "app/form1.h"
#include "report/number_formats.h"
#include "support/fake_machine.h"
#include "windows/form2.h"

namespace volumetra {
namespace {

class SurveyCycle : public ::testing::Test {
 protected:
  SurveyCycle() {
    machine.volumes.add('C', 10000, 2500, "SYSTEM");
    machine.volumes.add('D', 20000, 15000, "DATA");
  }
  Program& start() {
    Program& p = machine.start();
    m = &p.m;
    f1 = &p.form1();
    return p;
  }

  FakeMachine machine;
  Module1* m = nullptr;
  Form1* f1 = nullptr;
};

TEST_F(SurveyCycle, FirstSurveyFillsTheTable) {
  start();
  machine.advance(499);
  EXPECT_EQ(m->LoopCount, 0);
  EXPECT_EQ(f1->Label5[0]->caption(), "-");
  machine.advance(101);
  EXPECT_EQ(m->LoopCount, 1);
  EXPECT_EQ(f1->Label2[1]->caption(), "D:");
  EXPECT_EQ(f1->Label3[1]->caption(), "DATA");
  EXPECT_EQ(f1->Label4[1]->caption(), "HD/NTFS");
  EXPECT_EQ(f1->Label5[1]->caption(), FormatGrouped(20000.0 / 1000 * 1000000));
  EXPECT_EQ(f1->Label6[1]->caption(), FormatGrouped(15000.0 * 1000000));
  EXPECT_EQ(f1->Label7[1]->caption(), FormatGrouped(5000.0 * 1000000));
  EXPECT_EQ(f1->Label182.caption(), "30,000");
  EXPECT_EQ(f1->Label183.caption(), "17,500");
  EXPECT_EQ(f1->Label129.caption(), "12,500");
  EXPECT_EQ(f1->StatusBar1.caption(), "Testloop No. 1" + std::string(26, ' ') + "2026-12-08   10:00:00");
}

TEST_F(SurveyCycle, StopHaltsSurveysAndStartResumesHalfASecondLater) {
  start();
  machine.advance(500);
  ASSERT_EQ(m->LoopCount, 1);
  f1->Command1.Click();
  machine.advance(5000);
  EXPECT_EQ(m->LoopCount, 1);
  EXPECT_EQ(f1->Command1.caption(), "Start");
  f1->Command1.Click();
  EXPECT_EQ(f1->Slider1.value(), 500);
  machine.advance(499);
  EXPECT_EQ(m->LoopCount, 1);
  machine.advance(1);
  EXPECT_EQ(m->LoopCount, 2);
}

TEST_F(SurveyCycle, SliderMoveTakesEffectOneTickLate) {
  start();
  machine.advance(600);  // first survey at 500, the next one due at 1001
  f1->Slider1.setValue(2000);
  machine.advance(400);
  EXPECT_EQ(m->LoopCount, 1);
  machine.advance(1);  // 1001: still on the old interval
  EXPECT_EQ(m->LoopCount, 2);
  machine.advance(2000);
  EXPECT_EQ(m->LoopCount, 2);
  machine.advance(1);  // 3002
  EXPECT_EQ(m->LoopCount, 3);
}

TEST_F(SurveyCycle, RefreshSlowsToTenSecondsAfterTheFirstHousekeepingTick) {
  start();
  EXPECT_EQ(f1->Timer2.interval(), 100);
  machine.advance(499);
  EXPECT_EQ(f1->Timer2.interval(), 100);
  EXPECT_EQ(machine.loop.nextDue(f1->Timer2), 500);
  machine.advance(1);
  EXPECT_EQ(f1->Timer2.interval(), 10000);
  EXPECT_EQ(machine.loop.nextDue(f1->Timer2), 10500);
  machine.volumes.add('E', 1000, 100);
  machine.advance(10000);  // the refresh at 10.5 s finds the new drive; the next survey fills its row
  EXPECT_EQ(m->DriveLetters, "CDE");
  machine.advance(501);
  EXPECT_EQ(f1->Label2[2]->caption(), "E:");
}

TEST_F(SurveyCycle, SlowDriveIsMarkedSkippedAndAskedAgainAfterTheReset) {
  machine.volumes.at('C').volumeInfoMs = 5000;
  start();
  machine.advance(500);  // the first survey waits 5 s for C
  EXPECT_EQ(machine.loop.now(), 5500);
  EXPECT_EQ(m->TimedOutLetters, "C");
  EXPECT_EQ(f1->Label5[0]->caption(), "timeout");
  EXPECT_EQ(f1->Label6[0]->caption(), FormatGrouped(2500.0 * 1000000));
  EXPECT_EQ(f1->Label3[0]->caption(), "SYSTEM");

  // Later surveys skip C: its cells keep the stored values and the sums leave it out.
  const int calls = machine.volumes.volumeInfoCalls;
  machine.volumes.at('C').volumeInfoMs = 0;
  machine.advance(60000);
  EXPECT_GT(m->LoopCount, 100);
  EXPECT_EQ(machine.volumes.volumeInfoCalls, calls + (m->LoopCount - 1));  // D only
  EXPECT_EQ(f1->Label5[0]->caption(), "timeout");
  EXPECT_EQ(f1->Label182.caption(), "20,000");

  machine.advance(65535 - 60000 - 5500 + 501);  // past the reset at 65 535 ms and one survey
  EXPECT_EQ(m->TimedOutLetters, "");
  EXPECT_EQ(f1->Label5[0]->caption(), FormatGrouped(10.0 * 1000000));
  EXPECT_EQ(f1->Label182.caption(), "30,000");
}

// A volume that gives no answer from the start, to the drive discovery of the load already: its
// row shows its letter, its drive type and "timeout" from the first survey on, never an empty row.
TEST_F(SurveyCycle, ADriveSilentFromTheStartShowsItsLetterTypeAndTimeoutFromTheFirstSurvey) {
  FakeVolume& share = machine.volumes.add('E', 1000, 250, "SHARE", 4);
  share.description = "\\\\server\\share";
  share.silent = true;
  start();
  for (int survey = 0; survey < 3; ++survey) {
    machine.advance(501);
    EXPECT_EQ(f1->Label2[2]->caption(), "E:") << survey;
    EXPECT_EQ(f1->Label4[2]->caption(), "Net") << survey;
    EXPECT_EQ(f1->Label5[2]->caption(), "timeout") << survey;
    EXPECT_EQ(f1->Label2[2]->toolTip(), "E:  Net  \\\\server\\share") << survey;
  }
  EXPECT_EQ(f1->Label182.caption(), "30,000");  // the silent drive stays out of the sums

  // It answers again: the survey after the time-out reset fills its row.
  share.silent = false;
  machine.advance(65535);
  EXPECT_EQ(f1->Label3[2]->caption(), "SHARE");
  EXPECT_EQ(f1->Label4[2]->caption(), "Net/NTFS");
  EXPECT_EQ(f1->Label5[2]->caption(), FormatGrouped(1.0 * 1000000));
}

TEST_F(SurveyCycle, SlowSurveyDelaysTheNextOne) {
  machine.volumes.at('C').volumeInfoMs = 5000;
  start();
  machine.advance(500);
  ASSERT_EQ(m->LoopCount, 1);
  // The ticks missed during the 5 s survey come as one, right after it.
  machine.advance(0);
  EXPECT_EQ(m->LoopCount, 2);
  machine.advance(500);
  EXPECT_EQ(m->LoopCount, 2);
  machine.advance(1);
  EXPECT_EQ(m->LoopCount, 3);
}

TEST_F(SurveyCycle, LogTickWritesOneBlockAtTheNextSurvey) {
  Program& p = start();
  p.m.LoggingOn = true;
  f1->Timer4.setInterval(1000);
  machine.advance(1000);  // surveys at 500 and 1001; the log tick comes at 1000
  const std::string path = m->ReportFileDir + m->ReportFileName;
  EXPECT_EQ(machine.files.appendCalls, 0);
  machine.advance(1);
  EXPECT_EQ(machine.files.appendCalls, 2);
  const std::string text = FakeMachine::read(path);
  EXPECT_EQ(text,
            "2026-12-08    10:00:01      C:\\            2500 \r\n"
            "2026-12-08    10:00:01      D:\\            15000 \r\n");
  machine.advance(998);
  EXPECT_EQ(machine.files.appendCalls, 2);
}

TEST_F(SurveyCycle, LoggingOffNeverCreatesTheFile) {
  start();
  machine.advance(10000);
  EXPECT_EQ(machine.files.appendCalls, 0);
  EXPECT_FALSE(std::filesystem::exists(m->ReportFileDir + m->ReportFileName));
}

}  // namespace
}  // namespace volumetra
