#include "probe/drive_discovery.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/form1.h"
#include "probe/probe_pass.h"
#include "support/fake_machine.h"

namespace volumetra {
namespace {

struct DiscoveryTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
  void SetUp() override { machine.start(); }
  /// Discovers, probes (so the exclusions have records to judge), and discovers again.
  void discoverTwice() {
    DiscoverDrives(p.probeContext());
    ProbeDrives(p.probeContext());
    DiscoverDrives(p.probeContext());
  }
};

TEST_F(DiscoveryTest, TakesLettersCToZInUseAndTheLargestFreeSpace) {
  machine.volumes.add('C', 1000, 300.4);
  machine.volumes.add('H', 1000, 700.5);  // rounds to the even 700
  machine.volumes.add('Z', 1000, 10);
  machine.volumes.add('A', 9000, 9000);  // A and B are never asked
  machine.volumes.add('E', 1000, 900).presence = DrivePresence::Empty;
  machine.volumes.add('F', 0, 0).presence = DrivePresence::Failed;
  DiscoverDrives(p.probeContext());
  EXPECT_EQ(p.m.DriveLetters, "CFHZ");
  EXPECT_EQ(p.m.MaxFreeMB, 900);  // free space counts even for a letter left out
}

TEST_F(DiscoveryTest, NoDriveAndAllDrives) {
  machine.volumes.clear();
  DiscoverDrives(p.probeContext());
  EXPECT_EQ(p.m.DriveLetters, "");
  EXPECT_EQ(p.m.MaxFreeMB, 0);
  for (char l = 'A'; l <= 'Z'; ++l) machine.volumes.add(l, 100, 50);
  DiscoverDrives(p.probeContext());
  EXPECT_EQ(p.m.DriveLetters, "CDEFGHIJKLMNOPQRSTUVWXYZ");
}

TEST_F(DiscoveryTest, DoubleMappingDropsTheHigherLetterAndReprobes) {
  machine.volumes.add('C', 5000, 100, "SYS");
  machine.volumes.add('D', 2000, 500, "DATA").serialNumber = 42;
  machine.volumes.add('F', 2000, 400, "DATA").serialNumber = 42;  // free space is not compared
  p.m.ExcludeDoubles = true;
  const int before = machine.volumes.volumeInfoCalls;
  DiscoverDrives(p.probeContext());
  EXPECT_EQ(p.m.DriveLetters, "CD");  // judged by a pass over C, D and F made first
  // One pass over the three letters found, one after the removal over the two left.
  EXPECT_EQ(machine.volumes.volumeInfoCalls, before + 3 + 2);
  EXPECT_EQ(p.m.DriveRecs[2].RootPath, "D:\\");
}

TEST_F(DiscoveryTest, ALetterLeftOutStaysOutAtEveryRefreshAndTheWindowKeepsItsHeight) {
  FakeMachine fresh;
  fresh.volumes.add('C', 5000, 100, "SYS");
  fresh.volumes.add('D', 2000, 500, "DATA").serialNumber = 42;
  fresh.volumes.add('E', 600, 0, "", 5, "CDFS");
  fresh.volumes.add('F', 2000, 500, "DATA").serialNumber = 42;  // D under another letter
  std::ofstream(fresh.iniPath()) << "[System]\nExcludeDoubleMappings=True\nExcludeCDRomDrives=True\n";
  Program& program = fresh.start();
  const float height = program.form1().height();
  EXPECT_EQ(program.m.DriveLetters, "CD");
  for (int refresh = 0; refresh < 30; ++refresh) {
    fresh.advance(10000);
    EXPECT_EQ(program.m.DriveLetters, "CD") << refresh;
    EXPECT_EQ(program.form1().height(), height) << refresh;
  }
}

TEST_F(DiscoveryTest, WithoutAnExclusionDiscoveryProbesNothing) {
  machine.volumes.add('C', 5000, 100);
  const int before = machine.volumes.volumeInfoCalls;
  DiscoverDrives(p.probeContext());
  EXPECT_EQ(machine.volumes.volumeInfoCalls, before);
}

TEST_F(DiscoveryTest, EqualLabelsWithDifferentSerialsOrWithoutTheSwitchBothStay) {
  machine.volumes.add('D', 2000, 500, "DATA").serialNumber = 1;
  machine.volumes.add('E', 2000, 500, "DATA").serialNumber = 2;
  machine.volumes.add('F', 2000, 500, "DATA").serialNumber = 2;
  discoverTwice();
  EXPECT_EQ(p.m.DriveLetters, "DEF");  // the switch is off
  p.m.ExcludeDoubles = true;
  discoverTwice();
  EXPECT_EQ(p.m.DriveLetters, "DE");
}

TEST_F(DiscoveryTest, CdScanSkipsTheNeighbourOfADroppedCd) {
  machine.volumes.add('C', 5000, 100);
  machine.volumes.add('E', 600, 0, "", 5, "CDFS");
  machine.volumes.add('F', 600, 0, "", 5, "CDFS");
  machine.volumes.add('G', 600, 0, "", 5, "CDFS");
  p.m.ExcludeCDs = true;
  discoverTwice();
  // E is dropped, F moves into its place and is passed over, G is dropped.
  EXPECT_EQ(p.m.DriveLetters, "CF");
}

TEST_F(DiscoveryTest, DoubleMappingScanRunsBeforeTheCdScan) {
  // Two CD letters showing one disc: the double scan drops G first, then the CD scan drops F.
  machine.volumes.add('C', 5000, 100);
  machine.volumes.add('F', 600, 0, "DISC", 5, "CDFS");
  machine.volumes.add('G', 600, 0, "DISC", 5, "CDFS");
  p.m.ExcludeCDs = true;
  p.m.ExcludeDoubles = true;
  discoverTwice();
  EXPECT_EQ(p.m.DriveLetters, "C");
}

}  // namespace
}  // namespace volumetra
