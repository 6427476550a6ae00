#include "probe/probe_pass.h"

#include <gtest/gtest.h>

#include "app/form1.h"
#include "support/fake_machine.h"
#include "windows/form2.h"

namespace volumetra {
namespace {

struct ProbePassTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
  void SetUp() override { machine.start(); }
};

TEST_F(ProbePassTest, FillsEveryRecordAndTheSums) {
  machine.volumes.add('C', 2000, 500, "SYS").serialNumber = 0x80000000u;
  machine.volumes.add('D', 1000, 250, "", 5, "CDFS");
  p.m.DriveLetters = "CD";
  p.form2().Slider1.setValue(99);
  ProbeDrives(p.probeContext());

  const DriveRec& c = p.m.DriveRecs[1];
  EXPECT_EQ(c.RootPath, "C:\\");
  EXPECT_EQ(c.VolumeName, "SYS");
  EXPECT_EQ(c.TypeText, "HD/NTFS");
  EXPECT_DOUBLE_EQ(c.TotalGB, 2.0);
  EXPECT_DOUBLE_EQ(c.FreeMB, 500);
  EXPECT_EQ(c.SerialNumber, -2147483648.0);
  EXPECT_EQ(p.m.DriveRecs[2].TypeText, "CD/CDFS");
  EXPECT_EQ(p.m.DriveRecs[2].VolumeName, "");
  EXPECT_DOUBLE_EQ(p.m.SumTotalMB, 3000);
  EXPECT_DOUBLE_EQ(p.m.SumFreeMB, 750);
  EXPECT_DOUBLE_EQ(p.m.SumUsedMB, 2250);
  EXPECT_DOUBLE_EQ(p.m.GraphScale, 100);
  EXPECT_DOUBLE_EQ(p.m.CurFreeMB, 250);  // the last probed drive's values
}

TEST_F(ProbePassTest, FailedQueriesStoreTheirFailureValues) {
  machine.volumes.add('C', 2000, 500).freeSpaceFails = true;
  machine.volumes.add('D', 1000, 250).volumeInfoFails = true;
  p.m.DriveLetters = "CD";
  ProbeDrives(p.probeContext());
  EXPECT_EQ(p.m.DriveRecs[1].FreeMB, 0);
  EXPECT_EQ(p.m.DriveRecs[1].TotalGB, 0);
  EXPECT_EQ(p.m.DriveRecs[2].VolumeName, std::string(255, ' '));
  EXPECT_EQ(p.m.DriveRecs[2].TypeText, "HD");
  EXPECT_EQ(p.m.DriveRecs[2].SerialNumber, 0);
  EXPECT_EQ(p.m.DriveRecs[2].NameLength, 0);
  EXPECT_DOUBLE_EQ(p.m.SumTotalMB, 1000);  // the failed drive adds nothing
  EXPECT_DOUBLE_EQ(p.m.SumFreeMB, 250);
}

TEST_F(ProbePassTest, SlowDriveIsStoredOnceThenSkippedAndLeftOutOfTheSums) {
  machine.volumes.add('C', 2000, 500);
  FakeVolume& d = machine.volumes.add('D', 1000, 250, "SLOW");
  d.volumeInfoMs = 5000;
  p.m.DriveLetters = "CD";
  ProbeDrives(p.probeContext());
  EXPECT_EQ(p.m.DriveRecs[2].TimeoutMark, "T O");
  EXPECT_EQ(p.m.DriveRecs[2].VolumeName, "SLOW");  // this pass still stores it ...
  EXPECT_DOUBLE_EQ(p.m.SumTotalMB, 3000);          // ... and counts it

  const int callsBefore = machine.volumes.volumeInfoCalls;
  d.label = "CHANGED";
  ProbeDrives(p.probeContext());
  EXPECT_EQ(machine.volumes.volumeInfoCalls, callsBefore + 1);  // only C was asked
  EXPECT_EQ(p.m.DriveRecs[2].VolumeName, "SLOW");
  EXPECT_DOUBLE_EQ(p.m.SumTotalMB, 2000);
}

TEST_F(ProbePassTest, ADriveThatGivesNoAnswerKeepsItsRecordAndStaysOutOfTheSums) {
  machine.volumes.add('C', 2000, 500);
  FakeVolume& dead = machine.volumes.add('D', 1000, 250, "SHARE", 4);
  p.m.DriveLetters = "CD";
  ProbeDrives(p.probeContext());
  ASSERT_EQ(p.m.DriveRecs[2].VolumeName, "SHARE");

  // The server dies: its query gives no answer, however fast the refusal comes.
  dead.silent = true;
  for (int reset = 0; reset < 3; ++reset) {
    p.form1().Timer5_Timer();  // the time-out reset lets the drive be asked again
    ProbeDrives(p.probeContext());
    const DriveRec& d = p.m.DriveRecs[2];
    EXPECT_EQ(d.TimeoutMark, "T O");
    EXPECT_EQ(p.m.TimedOutLetters, "D");
    EXPECT_EQ(d.VolumeName, "SHARE");  // what was known stays
    EXPECT_EQ(d.TypeText, "Net/NTFS");
    EXPECT_DOUBLE_EQ(d.FreeMB, 250);
    EXPECT_DOUBLE_EQ(d.TotalGB, 1.0);
    EXPECT_DOUBLE_EQ(p.m.SumTotalMB, 2000);
    EXPECT_DOUBLE_EQ(p.m.SumFreeMB, 500);
  }

  // The server answers again: the first pass after the next reset takes the drive in again.
  dead.silent = false;
  p.form1().Timer5_Timer();
  machine.volumes.at('D').label = "BACK";
  ProbeDrives(p.probeContext());
  EXPECT_EQ(p.m.DriveRecs[2].TimeoutMark, "");
  EXPECT_EQ(p.m.DriveRecs[2].VolumeName, "BACK");
  EXPECT_DOUBLE_EQ(p.m.SumTotalMB, 3000);
}

TEST_F(ProbePassTest, AnnouncesTheDrivesItWillAsk) {
  for (char letter : std::string("CDEF")) machine.volumes.add(letter, 1000, 100);
  p.m.DriveLetters = "CDEF";
  p.m.DriveRecs[2].TimeoutMark = kTimeoutMark;  // D timed out: not asked
  const int before = machine.volumes.volumeInfoCalls;
  const int passes = machine.volumes.probePasses;
  ProbeDrives(p.probeContext());
  EXPECT_EQ(machine.volumes.probePasses, passes + 1);
  EXPECT_EQ(machine.volumes.lastProbePass, "CEF");
  EXPECT_EQ(machine.volumes.volumeInfoCalls - before, 3);
}

TEST_F(ProbePassTest, EmptyListSetsScaleAndZeroSumsOnly) {
  p.m.DriveLetters.clear();
  p.m.SumTotalMB = 5;
  const int calls = machine.volumes.volumeInfoCalls + machine.volumes.freeSpaceCalls;
  ProbeDrives(p.probeContext());
  EXPECT_EQ(p.m.SumTotalMB, 0);
  EXPECT_EQ(machine.volumes.volumeInfoCalls + machine.volumes.freeSpaceCalls, calls);
}

TEST_F(ProbePassTest, NameLengthBeyondItsFieldKeepsTheOldValue) {
  machine.volumes.add('C', 100, 50).maxComponentLength = 40000;
  p.m.DriveLetters = "C";
  p.m.DriveRecs[1].NameLength = 12;
  ProbeDrives(p.probeContext());
  EXPECT_EQ(p.m.DriveRecs[1].NameLength, 12);
  EXPECT_EQ(p.m.DriveRecs[1].TypeText, "HD/NTFS");  // the pass went on
}

}  // namespace
}  // namespace volumetra
