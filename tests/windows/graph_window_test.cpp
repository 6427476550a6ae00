#include <gtest/gtest.h>

#include "app/form1.h"
#include "probe/probe_pass.h"
#include "support/fake_machine.h"
#include "windows/form2.h"

namespace volumetra {
namespace {

struct GraphWindowTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
};

TEST_F(GraphWindowTest, LoadsBesideTheMainWindowWithTheScaleOfTheLargestFreeSpace) {
  machine.volumes.add('C', 10000, 4100);
  machine.volumes.add('D', 10000, 50);
  machine.start();
  Form2& g = p.form2();
  EXPECT_EQ(g.caption(), "Graphical-View");
  EXPECT_EQ(g.left(), 6650);
  EXPECT_EQ(g.top(), 230);
  EXPECT_EQ(g.width(), 5310);
  EXPECT_EQ(g.height(), p.form1().height() - 10);
  EXPECT_EQ(g.Label28.top(), 480);
  EXPECT_EQ(g.Command1.top(), 870);
  EXPECT_EQ(p.m.GraphMax, 100);
  EXPECT_EQ(g.Slider1.value(), 100);
  ProbeDrives(p.probeContext());
  EXPECT_DOUBLE_EQ(p.m.GraphScale, 101);
}

TEST_F(GraphWindowTest, SmallFreeSpaceKeepsTheSliderInRange) {
  machine.volumes.add('C', 100, 40);
  machine.start();
  EXPECT_EQ(p.form2().Slider1.value(), 10000);
}

TEST_F(GraphWindowTest, FreeLegendClickResetsTheScaleAndTheSliderProbes) {
  machine.volumes.add('C', 100000, 20000);
  machine.start();
  Form2& g = p.form2();
  g.Slider1.setValue(7);
  g.Label26.Click();
  EXPECT_EQ(g.Slider1.value(), 20);  // 20.5 rounds to the even neighbour
  const int calls = machine.volumes.volumeInfoCalls;
  g.Slider1.Scroll(249);
  EXPECT_EQ(machine.volumes.volumeInfoCalls, calls + 1);
  EXPECT_DOUBLE_EQ(p.m.GraphScale, 250);
}

TEST_F(GraphWindowTest, WithoutFreeSpaceTheLegendClickChangesNothing) {
  machine.start();
  Form2& g = p.form2();
  g.Slider1.setValue(33);
  g.Label26.Click();
  EXPECT_EQ(g.Slider1.value(), 33);
}

TEST_F(GraphWindowTest, HeightFollowsTheMainWindowAndMaximisedIsRefused) {
  machine.start();
  Form2& g = p.form2();
  g.UserResized(g.width() + 100, 3000);
  EXPECT_EQ(g.height(), p.form1().height() - 10);
  EXPECT_EQ(g.width(), 5410);
  g.setWindowState(WindowState::Maximized);
  EXPECT_EQ(g.windowState(), WindowState::Normal);
}

TEST_F(GraphWindowTest, NextBringsTheMainWindowBackAndClearsShowGraph) {
  machine.start();
  Form2& g = p.form2();
  g.Show();
  EXPECT_TRUE(p.m.ShowGraph);
  p.form1().setWindowState(WindowState::Minimized);
  g.Command1.Click();
  EXPECT_EQ(p.form1().windowState(), WindowState::Normal);
  EXPECT_EQ(p.ActiveForm(), &p.form1());
  EXPECT_FALSE(p.m.ShowGraph);
  EXPECT_TRUE(g.visible());
}

TEST_F(GraphWindowTest, LinkedGraphFollowsTheMainWindowTopOnlyInNormalState) {
  machine.start();
  p.m.LinkGraph = true;
  Form1& f = p.form1();
  Form2& g = p.form2();
  f.UserMoved(300, 1000);
  machine.advance(500);
  EXPECT_EQ(g.top(), 1240);
  EXPECT_EQ(g.left(), 6650);
  g.setWindowState(WindowState::Minimized);
  f.UserMoved(300, 2000);
  machine.advance(500);
  EXPECT_EQ(g.top(), 1240);
}

}  // namespace
}  // namespace volumetra
