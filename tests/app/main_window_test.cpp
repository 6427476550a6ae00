#include <gtest/gtest.h>

#include "app/form1.h"
#include "platform/form_design.h"
#include "support/fake_machine.h"
#include "windows/form2.h"
#include "windows/frm_splash.h"

namespace volumetra {
namespace {

struct MainWindowTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
  Form1& start() {
    machine.start();
    return p.form1();
  }
  void expectBottomRowAt(Form1& f, float top) {
    for (Control* c : f.bottomRow()) EXPECT_EQ(c->top(), top) << c->name();
  }
};

TEST_F(MainWindowTest, StartUpSetsRunDefaultsAndFitsNoDrive) {
  Form1& f = start();
  EXPECT_TRUE(p.m.Running);
  EXPECT_EQ(p.m.UnitFactor, 1000000);
  EXPECT_EQ(p.m.AlarmLimit, 100000);
  EXPECT_TRUE(p.m.ColourInfo);
  EXPECT_DOUBLE_EQ(p.m.GraphScale, 250.0);
  EXPECT_EQ(f.caption(), "Volumetra V 0.95");
  EXPECT_EQ(f.height(), 1168);
  expectBottomRowAt(f, 256);
  EXPECT_EQ(f.Timer2.interval(), 100);
  EXPECT_TRUE(f.visible());
  // Only the designed cells of the first row show.
  EXPECT_TRUE(f.Label3[0]->visible());
  EXPECT_FALSE(f.Label2[0]->visible());
  EXPECT_EQ(machine.volumes.volumeInfoCalls, 0);  // the load probes nothing
}

TEST_F(MainWindowTest, BothWindowsShowTheirDesignedContentAtTheirStartWidths) {
  Form1& f = start();
  const auto clientWidth = [](const Form& form) { return form.width() - kFrameWidthTwips; };
  // The designed width is the widest the main window may be, and shows its whole client area.
  EXPECT_EQ(f.width(), 9600);
  EXPECT_EQ(clientWidth(f), 9585);
  const Form2& graph = p.form2();
  EXPECT_EQ(graph.width(), 5310);
  EXPECT_LE(graph.Command1.left() + graph.Command1.width(), clientWidth(graph));
}

TEST_F(MainWindowTest, StartUpFitsAllTwentyFourDrives) {
  for (char l = 'C'; l <= 'Z'; ++l) machine.volumes.add(l, 100, 50);
  Form1& f = start();
  EXPECT_EQ(f.height(), 6928);
  expectBottomRowAt(f, 6016);
  EXPECT_TRUE(f.Label9[23]->visible());
  EXPECT_FALSE(f.Label9[24]->visible());
  EXPECT_TRUE(p.form2().Shape2[23]->visible());
}

TEST_F(MainWindowTest, StartUpClearsRecordsButKeepsTimeoutMarks) {
  p.m.DriveRecs[3].VolumeName = "OLD";
  p.m.DriveRecs[3].TimeoutMark = "T O";
  p.m.DriveRecs[0].VolumeName = "ZERO";
  start();
  EXPECT_EQ(p.m.DriveRecs[3].VolumeName, "");
  EXPECT_EQ(p.m.DriveRecs[3].TimeoutMark, "T O");
  EXPECT_EQ(p.m.DriveRecs[0].VolumeName, "ZERO");
}

TEST_F(MainWindowTest, ResizeCapsTheWidthAndRefusesMaximised) {
  Form1& f = start();
  EXPECT_EQ(f.width(), 9600);  // the designed width is capped by the first resize
  f.UserResized(9601, f.height());
  EXPECT_EQ(f.width(), 9600);
  f.UserResized(9000, f.height());
  EXPECT_EQ(f.width(), 9000);
  f.setWindowState(WindowState::Maximized);
  EXPECT_EQ(f.windowState(), WindowState::Normal);
  f.setWindowState(WindowState::Minimized);
  f.UserResized(12000, f.height());
  EXPECT_EQ(f.width(), 12000);  // a minimised window is not touched
}

TEST_F(MainWindowTest, StopThenStartAlwaysResumesAtFiveHundred) {
  Form1& f = start();
  f.Command1.Click();
  EXPECT_FALSE(p.m.Running);
  EXPECT_EQ(f.Timer1.interval(), 0);
  EXPECT_EQ(f.Slider1.value(), 0);
  EXPECT_EQ(f.Command1.caption(), "Start");
  f.Slider1.Scroll(3000);
  f.Command1.Click();
  EXPECT_TRUE(p.m.Running);
  EXPECT_EQ(f.Timer1.interval(), 500);
  EXPECT_EQ(f.Slider1.value(), 500);
  EXPECT_EQ(f.Command1.caption(), "Stop");
}

TEST_F(MainWindowTest, TwoClicksOnTheTotalHeaderGiveTheStartUnitsBack) {
  Form1& f = start();
  f.Label12.Click();
  EXPECT_EQ(p.m.UnitFactor, 1000);
  f.Label12.Click();
  EXPECT_EQ(p.m.UnitFactor, 1000000);
}

TEST_F(MainWindowTest, GraphWindowStaysClosedUntilNextWhenNotWanted) {
  machine.volumes.add('C', 100, 50);
  p.m.ShowGraph = false;
  // The settings decide; with no file the graph shows, so test the button on a hidden window.
  Form1& f = start();
  Form2& g = p.form2();
  g.Hide();
  g.setWindowState(WindowState::Minimized);
  f.Command5.Click();
  EXPECT_TRUE(g.visible());
  EXPECT_EQ(g.windowState(), WindowState::Normal);
  EXPECT_TRUE(p.m.ShowGraph);  // activation sets it
  EXPECT_TRUE(g.Shape1[0]->visible());
}

TEST_F(MainWindowTest, ALaterStartRaisesTheMinimisedMainWindowUntilTheProgramHasEnded) {
  Form1& f = start();
  p.form2().Show();
  f.setWindowState(WindowState::Minimized);
  ASSERT_EQ(p.ActiveForm(), &p.form2());
  EXPECT_TRUE(p.RaiseMainWindow());
  EXPECT_EQ(f.windowState(), WindowState::Normal);
  EXPECT_TRUE(f.visible());
  EXPECT_EQ(p.ActiveForm(), &f);
  f.Command2.Click();
  EXPECT_FALSE(p.RaiseMainWindow());
  EXPECT_EQ(p.loadedForm1(), nullptr) << "the ended program made no main window again";
}

TEST_F(MainWindowTest, ExitUnloadsEveryWindowAndEndsTheProgram) {
  Form1& f = start();
  f.Command3.Click();
  f.Command4.Click();
  ASSERT_NE(p.loadedFrmSplash(), nullptr);
  f.Command2.Click();
  EXPECT_TRUE(p.Ended());
  EXPECT_TRUE(machine.windows.quit);
  EXPECT_EQ(p.loadedFrmSplash(), nullptr);
  EXPECT_EQ(p.loadedForm2(), nullptr);
  EXPECT_EQ(p.loadedForm3(), nullptr);
  EXPECT_EQ(p.loadedForm1(), nullptr);
}

TEST_F(MainWindowTest, CloseBoxTakesTheSamePathAsExit) {
  Form1& f = start();
  f.UserClose();
  EXPECT_TRUE(p.Ended());
  EXPECT_EQ(p.loadedForm2(), nullptr);
}

}  // namespace
}  // namespace volumetra
