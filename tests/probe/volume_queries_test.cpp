#include "probe/volume_queries.h"

#include <gtest/gtest.h>

#include "support/fake_machine.h"

namespace volumetra {
namespace {

TEST(TrimAtNul, CutsAtTheFirstNulOnly) {
  EXPECT_EQ(TrimAtNul(std::string("VOLUME\0    ", 11)), "VOLUME");
  EXPECT_EQ(TrimAtNul(std::string("\0abc", 4)), "");
  EXPECT_EQ(TrimAtNul(std::string(255, ' ')), std::string(255, ' '));
}

TEST(IsTimedOut, JudgesBySecondsFieldAcrossTheMinute) {
  EXPECT_FALSE(IsTimedOut(10, 13));  // 3 s in time
  EXPECT_TRUE(IsTimedOut(10, 14));   // 4 s too slow
  EXPECT_TRUE(IsTimedOut(58, 1));    // d = -57
  EXPECT_FALSE(IsTimedOut(59, 1));   // d = -58
  EXPECT_FALSE(IsTimedOut(59, 0));   // d = -59
  EXPECT_TRUE(IsTimedOut(30, 29));   // d = -1
  EXPECT_FALSE(IsTimedOut(0, 1));    // a 61-second call passes as one second
}

TEST(DriveTypeName, MapsCodesTwoToSixAndEverythingElseToUnknown) {
  const std::pair<int, const char*> cases[] = {{0, "???"}, {1, "???"}, {2, "Rem"}, {3, "HD"},  {4, "Net"},
                                               {5, "CD"},  {6, "Ram"}, {7, "???"}, {-1, "???"}};
  for (auto [code, name] : cases) EXPECT_EQ(DriveTypeName(code), name) << code;
}

struct VolumeQueriesTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
  std::string name, fs;
  std::int32_t serial = 7, length = 7, flags = 7;

  void SetUp() override { p.m.DriveLetters = "CDE"; }
  void query(const char* root) {
    GetVolumeInfo(p.m, p.os.volumes, p.os.clock, root, name, serial, length, flags, fs);
  }
};

TEST_F(VolumeQueriesTest, AnswerInTimeGivesTrimmedTextsAndSignedSerial) {
  machine.volumes.add('C', 1000, 500, "SYSTEM").serialNumber = 0xFFFFFFFFu;
  query("C:\\");
  EXPECT_EQ(name, "SYSTEM");
  EXPECT_EQ(fs, "NTFS");
  EXPECT_EQ(serial, -1);
  EXPECT_EQ(length, 255);
  EXPECT_TRUE(p.m.TimedOutLetters.empty());
}

TEST_F(VolumeQueriesTest, FailedCallLeavesSpacesAndZeros) {
  machine.volumes.add('C', 1000, 500, "SYSTEM").volumeInfoFails = true;
  query("C:\\");
  EXPECT_EQ(name, std::string(255, ' '));
  EXPECT_EQ(fs, std::string(255, ' '));
  EXPECT_EQ(serial, 0);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(flags, 0);
}

TEST_F(VolumeQueriesTest, SlowCallMarksTheDriveOnceAndAnAnswerInTimeClearsIt) {
  FakeVolume& e = machine.volumes.add('E', 1000, 500);
  e.volumeInfoMs = 4000;
  query("E:\\");
  EXPECT_EQ(p.m.DriveRecs[3].TimeoutMark, "T O");
  EXPECT_EQ(p.m.DriveRecs[1].TimeoutMark, "");
  EXPECT_EQ(p.m.TimedOutLetters, "E");
  query("E:\\");
  EXPECT_EQ(p.m.TimedOutLetters, "E");  // not appended twice

  e.volumeInfoMs = 3000;
  query("E:\\");
  EXPECT_EQ(p.m.DriveRecs[3].TimeoutMark, "");
  EXPECT_EQ(p.m.TimedOutLetters, "E");  // only the reset empties the list
}

TEST_F(VolumeQueriesTest, FreeSpaceComesInMegabytesWithTheTotalAsSideEffect) {
  machine.volumes.add('C', 2500, 1234.5);
  EXPECT_DOUBLE_EQ(GetFreeSpaceMB(p.m, p.os.volumes, "C:\\"), 1234.5);
  EXPECT_DOUBLE_EQ(p.m.LastTotalGB, 2.5);

  EXPECT_EQ(GetFreeSpaceMB(p.m, p.os.volumes, "Q:\\"), -1.0);
  EXPECT_EQ(p.m.LastTotalGB, 0);
}

TEST_F(VolumeQueriesTest, ClusterArithmeticUsesTheSizeOfOneCluster) {
  FakeVolume& c = machine.volumes.add('C', 0, 0);
  c.sectorsPerCluster = 64;  // 32 KiB clusters: 32 clusters per MB
  c.bytesPerSector = 512;
  c.freeClusters = 2'000'000'000;
  c.totalClusters = 2'147'483'647;
  EXPECT_DOUBLE_EQ(GetFreeSpaceMB(p.m, p.os.volumes, "C:\\"), 2'000'000'000 / 32.0);
  EXPECT_DOUBLE_EQ(p.m.LastTotalGB, 2'147'483'647 / 32.0 / 1000.0);
}

}  // namespace
}  // namespace volumetra
