// The program's own windows on real Qt widgets (offscreen): clicks on real buttons, keys, the
// twips-to-pixel layout, user resizes, window states and the close box.
#include <gtest/gtest.h>

#include <QMoveEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QSlider>
#include <QTest>

#include "app/form1.h"
#include "platform/qt/qt_machine.h"
#include "platform/qt/qt_timer_host.h"
#include "windows/form2.h"
#include "windows/frm_splash.h"

namespace volumetra {
namespace {

class MainWindowWidgets : public ::testing::Test {
 protected:
  void SetUp() override {
    qt.volumes.add('C', 40000, 10000, "SYSTEM");
    qt.volumes.add('D', 2000, 1500, "DATA");
  }

  Program& program() { return *qt.program; }
  Form1& form1() { return program().form1(); }

  QtMachine qt;
};

TEST_F(MainWindowWidgets, StopAndStartButtonDrivesTheSurveyTimer) {
  qt.start();
  auto& button = qt.widget<QPushButton>(form1(), form1().Command1);
  auto& slider = qt.widget<QSlider>(form1(), form1().Slider1);

  button.click();
  EXPECT_EQ(form1().Command1.caption(), "Start");
  EXPECT_EQ(form1().Timer1.interval(), 0);
  EXPECT_EQ(button.text(), "Start");
  EXPECT_EQ(slider.value(), 0);

  button.click();
  EXPECT_EQ(form1().Command1.caption(), "Stop");
  EXPECT_EQ(form1().Timer1.interval(), 500);
  EXPECT_EQ(button.text(), "Stop");
  EXPECT_EQ(slider.value(), 500);
}

TEST_F(MainWindowWidgets, AboutBoxOpensFromItsButtonAndClosesOnAnyKey) {
  qt.start();
  qt.widget<QPushButton>(form1(), form1().Command3).click();
  ASSERT_NE(program().loadedFrmSplash(), nullptr);
  FrmSplash& splash = *program().loadedFrmSplash();
  QWidget& window = qt.window(splash);
  auto& ok = qt.widget<QPushButton>(splash, splash.Command1);
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(qt.widget<QWidget>(splash, splash.lblProductName).isVisible());

  ok.setFocus();
  QTest::keyClick(&ok, Qt::Key_A);
  EXPECT_EQ(program().loadedFrmSplash(), nullptr);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowWidgets, AboutBoxClosesOnEnterAndOnItsOkButton) {
  qt.start();
  for (const auto& close : {+[](QPushButton& ok) { QTest::keyClick(&ok, Qt::Key_Return); },
                            +[](QPushButton& ok) { ok.click(); }}) {
    qt.widget<QPushButton>(form1(), form1().Command3).click();
    ASSERT_NE(program().loadedFrmSplash(), nullptr);
    FrmSplash& splash = *program().loadedFrmSplash();
    close(qt.widget<QPushButton>(splash, splash.Command1));
    EXPECT_EQ(program().loadedFrmSplash(), nullptr);
    // The unloaded box's widgets are deleted only after the event that closed it.
    ProcessQtEvents();
  }
}

TEST_F(MainWindowWidgets, AboutBoxIgnoresClicksOnItsLabelsButClosesOnTheFrame) {
  qt.start();
  qt.widget<QPushButton>(form1(), form1().Command3).click();
  FrmSplash& splash = *program().loadedFrmSplash();
  QWidget& title = qt.widget<QWidget>(splash, splash.control("Label1"));
  QTest::mouseClick(&title, Qt::LeftButton);
  ASSERT_EQ(program().loadedFrmSplash(), &splash);

  QWidget& frame = qt.widget<QWidget>(splash, splash.Frame1);
  QTest::mouseClick(&frame, Qt::LeftButton, {}, QPoint(5, frame.height() - 5));
  EXPECT_EQ(program().loadedFrmSplash(), nullptr);
}

TEST_F(MainWindowWidgets, WidgetsStandAtTheirTwipsThroughTheScreenDpi) {
  qt.start();
  const QWidget& header = qt.widget<QWidget>(form1(), form1().Label12);
  EXPECT_EQ(header.geometry(), QRect(ScreenPixels(2400), 0, ScreenPixels(1335), ScreenPixels(255)));

  // Two drives: the bottom row moved to 240 * 2 + 256 by the load.
  const QWidget& exitButton = qt.widget<QWidget>(form1(), form1().Command2);
  EXPECT_EQ(exitButton.geometry(),
            QRect(ScreenPixels(9120), ScreenPixels(736), ScreenPixels(495), ScreenPixels(255)));

  // Client area: outer height 240 * 2 + 1168 less the frame; the status bar lies along its bottom.
  const QWidget& window = qt.window(form1());
  EXPECT_EQ(window.height(), ScreenPixels(1648 - kFrameHeightTwips));
  const QWidget& status = qt.widget<QWidget>(form1(), form1().StatusBar1);
  EXPECT_EQ(status.geometry(),
            QRect(0, window.height() - ScreenPixels(255), window.width(), ScreenPixels(255)));
}

TEST_F(MainWindowWidgets, UserResizeBeyondTheWidthCapSnapsBack) {
  qt.start();
  QWidget& window = qt.window(form1());
  window.resize(ScreenPixels(9900 - kFrameWidthTwips), window.height());
  ProcessQtEvents();
  EXPECT_EQ(form1().width(), 9600);
  EXPECT_EQ(window.width(), ScreenPixels(9600 - kFrameWidthTwips));

  window.resize(ScreenPixels(6000 - kFrameWidthTwips), window.height());
  ProcessQtEvents();
  EXPECT_EQ(form1().width(), 6000);
}

TEST_F(MainWindowWidgets, MaximisingTheMainWindowGivesTheNormalStateBack) {
  qt.start();
  QWidget& window = qt.window(form1());
  window.showMaximized();
  ProcessQtEvents();
  EXPECT_EQ(form1().windowState(), WindowState::Normal);
  EXPECT_FALSE(window.isMaximized());
}

TEST_F(MainWindowWidgets, WindowMovesOfTheUserReachTheModelAndTheModelsOwnDoNotComeBack) {
  qt.start();
  qt.widget<QPushButton>(form1(), form1().Command5).click();
  Form2& graph = program().form2();
  QWidget& graphWindow = qt.window(graph);
  ASSERT_TRUE(graphWindow.isVisible());
  QWidget& mainWindow = qt.window(form1());
  graph.setLeft(6650);  // not a whole number of pixels at most DPIs
  form1().setHeight(2002);
  // The window system confirms the move and the resize later, as X11 does.
  QMoveEvent moved(graphWindow.pos(), graphWindow.pos());
  QCoreApplication::sendEvent(&graphWindow, &moved);
  QResizeEvent resized(mainWindow.size(), mainWindow.size());
  QCoreApplication::sendEvent(&mainWindow, &resized);
  ProcessQtEvents();
  EXPECT_EQ(graph.left(), 6650);
  EXPECT_EQ(form1().height(), 2002);

  mainWindow.move(ScreenPixels(1500), ScreenPixels(750));
  ProcessQtEvents();
  EXPECT_EQ(form1().left(), 1500);
  EXPECT_EQ(form1().top(), 750);
}

TEST_F(MainWindowWidgets, CloseBoxEndsTheProgramThroughTheShutdownPath) {
  qt.start();
  QWidget& window = qt.window(form1());
  EXPECT_FALSE(window.close());  // the program, not Qt, closes the window
  EXPECT_TRUE(program().Ended());
  EXPECT_TRUE(qt.windows.quitRequested());
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(std::filesystem::exists(qt.iniPath()));
}

}  // namespace
}  // namespace volumetra

namespace volumetra {
namespace {

TEST_F(MainWindowWidgets, GridRowsAndGraphBarsShowForTheDrivesOfTheMachine) {
  qt.start();
  Form2& graph = program().form2();
  const QWidget& main = qt.window(form1());
  const QWidget& graphWindow = qt.window(graph);
  for (int row = 0; row < 2; ++row) {
    for (Control* cell : {form1().Label2[row], form1().Label6[row], form1().Label9[row]}) {
      EXPECT_TRUE(qt.widget<QWidget>(form1(), *cell).isVisibleTo(&main)) << cell->name() << row;
    }
    for (Control* bar : {graph.Label1[row], graph.Shape1[row], graph.Shape2[row]}) {
      EXPECT_TRUE(qt.widget<QWidget>(graph, *bar).isVisibleTo(&graphWindow)) << bar->name() << row;
    }
  }
  EXPECT_FALSE(qt.widget<QWidget>(form1(), *form1().Label9[2]).isVisibleTo(&main));
  EXPECT_FALSE(qt.widget<QWidget>(graph, *graph.Shape2[2]).isVisibleTo(&graphWindow));
}

TEST(RealTimers, SurveysRunOnQtTimersAndTheCycleCountGrows) {
  EnsureQtApplication();
  QtTimerHost timers;
  QtMachine qt(&timers);
  qt.volumes.add('C', 40000, 10000, "SYSTEM");
  Program& program = qt.start();
  // The first survey comes after about 500 ms, the next ones every 501 ms.
  EXPECT_TRUE(QTest::qWaitFor([&] { return program.m.LoopCount >= 3; }, 5000));
  EXPECT_NE(program.form1().StatusBar1.caption().find("Testloop No. "), std::string::npos);
  EXPECT_EQ(program.form1().Label2[0]->caption(), "C:");
  program.Unload(program.form1());
  EXPECT_TRUE(program.Ended());
}

}  // namespace
}  // namespace volumetra
