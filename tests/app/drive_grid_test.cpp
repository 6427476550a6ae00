#include <gtest/gtest.h>

#include "app/form1.h"
#include "support/fake_machine.h"
#include "windows/form2.h"

namespace volumetra {
namespace {

struct DriveGridTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
  Form1* f = nullptr;
  void SetUp() override {
    machine.volumes.add('C', 1000, 500);
    machine.volumes.add('D', 1000, 500);
    machine.start();
    f = &p.form1();
  }
};

TEST_F(DriveGridTest, RefreshFitsBothWindowsToANewDriveCount) {
  machine.volumes.add('E', 1000, 500);
  f->Timer2_Timer();
  EXPECT_EQ(f->height(), 240 * 3 + 1168);
  EXPECT_EQ(f->Command1.top(), 240 * 3 + 256);
  Form2& g = p.form2();
  EXPECT_EQ(g.Command1.top(), 240 * 3 + 390);
  EXPECT_EQ(g.Label28.top(), 240 * 3);
  EXPECT_EQ(g.Slider1.top(), 240 * 3 + 390);
  EXPECT_EQ(g.height(), f->height() - 10);
  EXPECT_TRUE(f->Label9[2]->visible());
  EXPECT_TRUE(g.Label1[2]->visible());
}

TEST_F(DriveGridTest, RowsOfAVanishedDriveStayVisible) {
  machine.volumes.remove('D');
  f->Timer2_Timer();
  EXPECT_EQ(f->height(), 240 + 1168);
  EXPECT_EQ(f->Command2.top(), 240 + 256);
  EXPECT_TRUE(f->Label2[1]->visible());
}

TEST_F(DriveGridTest, UnchangedDriveSetAssignsNothingOnTheMainWindow) {
  f->Timer2_Timer();
  const auto before = f->layoutAssignments();
  f->Timer2_Timer();
  EXPECT_EQ(f->layoutAssignments(), before);
}

TEST_F(DriveGridTest, MinimisedMainWindowKeepsItsHeightButControlsMove) {
  f->setWindowState(WindowState::Minimized);
  const float height = f->height();
  const float graphHeight = p.form2().height();
  machine.volumes.add('E', 1000, 500);
  f->Timer2_Timer();
  EXPECT_EQ(f->height(), height);
  EXPECT_EQ(f->Command1.top(), 240 * 3 + 256);
  EXPECT_EQ(p.form2().Command1.top(), 240 * 3 + 390);
  EXPECT_EQ(p.form2().height(), graphHeight);
}

TEST_F(DriveGridTest, RefreshRunsEveryTenSecondsAfterTheFirstHousekeepingTick) {
  int lists = machine.volumes.listCalls;
  machine.advance(450);  // 100 ms refreshes until the first housekeeping tick at 500
  EXPECT_EQ((machine.volumes.listCalls - lists) / 24, 4);
  machine.advance(100);
  EXPECT_EQ(f->Timer2.interval(), 10000);
  lists = machine.volumes.listCalls;
  machine.advance(10000);
  EXPECT_EQ((machine.volumes.listCalls - lists) / 24, 1);
}

}  // namespace
}  // namespace volumetra
