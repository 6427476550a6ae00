#include "report/report_cycle.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/apply_language.h"
#include "report/bar_width.h"
#include "report/report_fixture.h"

namespace volumetra {
namespace {

constexpr Rgb kGreen{0, 255, 0}, kOrange{255, 128, 0};
constexpr Rgb kGrewGreen{0, 192, 0};
constexpr Rgb kYellow{255, 255, 0}, kPaleOrange{255, 192, 128};

class ReportCycle : public ReportCycleTest {
 protected:
  void SetUp() override { m.DriveLetters.clear(); }
  Rgb freeColour(int r) const { return f1.Label6[r]->foreColor().value(); }
  Rgb usedColour(int r) const { return f1.Label7[r]->foreColor().value(); }
  Rgb barColour(int r) const { return f2.Shape2[r]->backColor().value(); }
};

TEST_F(ReportCycle, WritesTheRowCellsInBothUnitModes) {
  DriveRec& d = addDrive('C', 2.5, 1234.5678);
  d.NameLength = 255;
  d.SerialNumber = -1;
  m.UnitFactor = 1000;
  cycle();
  EXPECT_EQ(f1.Label2[0]->caption(), "C:");
  EXPECT_EQ(f1.Label3[0]->caption(), "VolC");
  EXPECT_EQ(f1.Label4[0]->caption(), "HD/NTFS");
  EXPECT_EQ(f1.Label5[0]->caption(), "  2 500");
  EXPECT_EQ(f1.Label6[0]->caption(), " 1 234 568");
  EXPECT_EQ(f1.Label7[0]->caption(), " 1 265 432");
  EXPECT_EQ(f1.Label8[0]->caption(), "255");
  EXPECT_EQ(f1.Label9[0]->caption(), "-1");

  m.UnitFactor = 1000000;
  cycle();
  EXPECT_EQ(f1.Label5[0]->caption(), " 2 500 000");
  EXPECT_EQ(f1.Label6[0]->caption(), "1 234 567 800");
  EXPECT_EQ(f1.Label7[0]->caption(), "1 265 432 200");
}

TEST_F(ReportCycle, LetterToolTipsNameEachVolumeWholeAndWhereItLives) {
  addDrive('C', 2.5, 100, "HD/EXT4");
  addDrive('E', 1, 10, "HD/EXT4").VolumeName = "PHOTOS_BACKUP_2026 für Oma 写真";
  addDrive('S', 1, 10, "Net/NTFS").VolumeName = std::string(255, ' ');  // a failed label query
  machine.volumes.add('C', 2500, 100).description = "/  (/dev/sda2, ext4)";
  machine.volumes.add('E', 1000, 10).description = "/media/data  (/dev/sdb1, ext4)";
  machine.volumes.add('S', 1000, 10).description = "\\\\server\\share";
  m.Language = "English";
  ApplyLanguage(program);
  cycle();
  EXPECT_EQ(f1.Label2[0]->toolTip(), "volume letter\nC:  VolC  HD/EXT4  /  (/dev/sda2, ext4)");
  const std::string photos = "E:  PHOTOS_BACKUP_2026 für Oma 写真  HD/EXT4  /media/data  (/dev/sdb1, ext4)";
  EXPECT_EQ(f1.Label2[1]->toolTip(), photos);
  EXPECT_EQ(f2.Label1[1]->toolTip(), photos);
  EXPECT_EQ(f1.Label2[2]->toolTip(), "S:  Net/NTFS  \\\\server\\share");
  // Another survey and another language keep one line per volume behind the language's tip.
  cycle();
  m.Language = "Deutsch";
  ApplyLanguage(program);
  cycle();
  EXPECT_EQ(f1.Label2[0]->toolTip(), "volume letter\nC:  VolC  HD/EXT4  /  (/dev/sda2, ext4)");
  EXPECT_EQ(f2.Label1[0]->toolTip(), "C:  VolC  HD/EXT4  /  (/dev/sda2, ext4)");
  // A drive with nothing more to say about where it lives still names its volume.
  machine.volumes.add('F', 1000, 10);
  addDrive('F', 1, 10, "CD/CDFS");
  cycle();
  EXPECT_EQ(f1.Label2[3]->toolTip(), "F:  VolF  CD/CDFS");
}

TEST_F(ReportCycle, ZeroNameLengthAndSerialKeepTheOldCellText) {
  DriveRec& d = addDrive('C', 1, 10);
  d.NameLength = 255;
  d.SerialNumber = 305419896;
  cycle();
  d.NameLength = 0;
  d.SerialNumber = 0;
  cycle();
  EXPECT_EQ(f1.Label8[0]->caption(), "255");
  EXPECT_EQ(f1.Label9[0]->caption(), "305419896");
}

TEST_F(ReportCycle, SumsUseTheUsersThousandsSeparator) {
  machine.clock.thousands = ".";
  m.SumTotalMB = 1234567.5;
  m.SumFreeMB = 999.4;
  m.SumUsedMB = 1233568;
  cycle();
  EXPECT_EQ(f1.Label182.caption(), "1.234.568");
  EXPECT_EQ(f1.Label183.caption(), "999");
  EXPECT_EQ(f1.Label129.caption(), "1.233.568");
}

TEST_F(ReportCycle, StatusLineCountsTheCycles) {
  for (int k = 0; k < 7; ++k) cycle();
  EXPECT_EQ(m.LoopCount, 7);
  EXPECT_EQ(status(), "Testloop No. 7" + std::string(26, ' ') + "2026-12-08   10:00:00");
  f1.Command1.Click();       // Stop: no surveys of its own while the clock runs
  machine.advance(3723000);  // 1 h 2 min 3 s later
  cycle();
  EXPECT_EQ(status(), "Testloop No. 8" + std::string(26, ' ') + "2026-12-08   11:02:03");
}

TEST_F(ReportCycle, CycleCountStartsAgainInsteadOfOverflowing) {
  m.LoopCount = std::numeric_limits<std::int32_t>::max();
  cycle();
  EXPECT_EQ(m.LoopCount, 1);
  EXPECT_EQ(status().substr(0, 15), "Testloop No. 1 ");
}

TEST_F(ReportCycle, ChangeColoursFollowTheFreeSpace) {
  DriveRec& d = addDrive('C', 10, 5000);
  cycle();  // grew from the 0 remembered at start
  EXPECT_EQ(freeColour(0), kGrewGreen);
  EXPECT_EQ(usedColour(0), kGrewGreen);
  EXPECT_EQ(barColour(0), kGrewGreen);
  cycle();  // unchanged
  EXPECT_EQ(freeColour(0), kGreen);
  EXPECT_EQ(usedColour(0), kOrange);
  EXPECT_EQ(barColour(0), kGreen);
  d.FreeMB = 4999.99;
  cycle();  // shrank by a little
  EXPECT_EQ(freeColour(0), kYellow);
  EXPECT_EQ(usedColour(0), kPaleOrange);
  EXPECT_EQ(barColour(0), kYellow);
  EXPECT_EQ(m.PrevFreeMB[1], 4999.99);
  cycle();
  EXPECT_EQ(freeColour(0), kGreen);

  m.ColourInfo = false;
  d.FreeMB = 6000;
  cycle();  // colours stay, the memory too
  EXPECT_EQ(freeColour(0), kGreen);
  EXPECT_EQ(m.PrevFreeMB[1], 4999.99);
}

TEST_F(ReportCycle, AlarmColourComesAfterTheChangeColours) {
  addDrive('C', 1, 50);
  addDrive('D', 1, 500);
  m.AlarmColours = true;
  m.AlarmBeep = true;
  cycle();
  EXPECT_EQ(barColour(0), kOrange);
  EXPECT_EQ(freeColour(0), kGrewGreen);  // the grid cells never take the alarm colour
  EXPECT_EQ(barColour(1), kGrewGreen);
  EXPECT_EQ(machine.beep.count, 1);
  cycle();
  EXPECT_EQ(barColour(0), kOrange);
  EXPECT_EQ(machine.beep.count, 2);

  m.AlarmColours = false;
  m.AlarmBeep = false;
  cycle();  // the change colours repaint the bar
  EXPECT_EQ(barColour(0), kGreen);
  EXPECT_EQ(machine.beep.count, 2);
}

TEST_F(ReportCycle, AlarmLimitIsExclusive) {
  DriveRec& d = addDrive('C', 1, 99.999);
  m.AlarmBeep = true;
  ASSERT_EQ(m.AlarmLimit, 100000);
  cycle();
  EXPECT_EQ(machine.beep.count, 1);
  d.FreeMB = 100;
  cycle();
  EXPECT_EQ(machine.beep.count, 1);
}

TEST_F(ReportCycle, CdDrivesNeverRaiseTheAlarm) {
  struct Case {
    const char* type;
    bool alarms;
  };
  const Case cases[] = {{"CD/CDFS", false}, {"Rem/CDFS", false}, {"Net/CDFS", false}, {"CD", false},
                        {"Ram/CD", false},  {"HD/FAT", true},    {"???", true},       {"C", true},
                        {"Rem/C", true},    {"HD/cdfs", true},   {"cd/CDFS", true},   {"", true}};
  DriveRec& d = addDrive('C', 1, 0);
  m.AlarmBeep = true;
  m.AlarmColours = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    d.TypeText = c.type;
    const int before = machine.beep.count;
    cycle();
    EXPECT_EQ(machine.beep.count - before, c.alarms ? 1 : 0);
    EXPECT_EQ(barColour(0) == kOrange, c.alarms);
  }
}

TEST_F(ReportCycle, TimedOutDriveShowsTimeoutWithItsStoredSpace) {
  addDrive('C', 2.5, 1234.5678);
  addDrive('D', 1, 1);
  m.UnitFactor = 1000;
  m.TimedOutLetters = "c";
  cycle();
  EXPECT_EQ(f1.Label5[0]->caption(), "timeout");
  EXPECT_EQ(f1.Label6[0]->caption(), " 1 234 568");
  EXPECT_EQ(f1.Label7[0]->caption(), " 1 265 432");
  EXPECT_EQ(f1.Label5[1]->caption(), "  1 000");
}

TEST_F(ReportCycle, ScaleCaptionsOnlyWhileTheGraphIsShown) {
  addDrive('C', 1, 2000);
  cycle();
  EXPECT_EQ(f2.Label31.caption(), " 3360 MB");
  EXPECT_EQ(f2.Label30.caption(), " 1680 MB");
  EXPECT_EQ(f2.Label29.caption(), " 840 MB");
  EXPECT_EQ(f2.Shape2[0]->width(), 5000);
  EXPECT_EQ(f2.Label1[0]->caption(), "C:");

  m.ShowGraph = false;
  m.GraphScale = 1;
  m.DriveLetters = "E";
  m.DriveRecs[1].RootPath = "E:\\";
  cycle();
  EXPECT_EQ(f2.Label31.caption(), " 3360 MB");
  EXPECT_EQ(f2.Shape2[0]->width(), 20);
  EXPECT_EQ(f2.Shape1[0]->width(), 10);
  EXPECT_EQ(f2.Label1[0]->caption(), "E:");
}

TEST_F(ReportCycle, BarWidthsAreAssignedOnlyWhenTheyChange) {
  DriveRec& d = addDrive('C', 4.1, 4100);
  m.GraphScale = 101;
  cycle();
  EXPECT_EQ(f2.Shape1[0]->width(), 4141);
  EXPECT_EQ(f2.Shape2[0]->width(), 4141);
  const std::uint64_t before = f2.layoutAssignments();
  cycle();
  EXPECT_EQ(f2.layoutAssignments(), before);
  d.FreeMB = 4000;
  cycle();
  EXPECT_EQ(f2.layoutAssignments(), before + 1);
  EXPECT_EQ(f2.Shape2[0]->width(), 4040);
  EXPECT_EQ(m.CurFreeMB, 4000);
  EXPECT_EQ(m.LastTotalGB, 4.1);
}

TEST_F(ReportCycle, BarsOfHugeDrivesAreClampedNotWrapped) {
  addDrive('C', 1e6, 9e8);  // a petabyte volume at the largest scale
  m.GraphScale = 10001;
  cycle();
  EXPECT_EQ(f2.Shape1[0]->width(), kMaxBarWidth);
  EXPECT_EQ(f2.Shape2[0]->width(), kMaxBarWidth);
  EXPECT_EQ(f1.Label5[0]->caption(), "1000 000 000 000");
}

}  // namespace
}  // namespace volumetra
