// The graph window on real Qt widgets (offscreen): a drive of today's size is drawn inside it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>

#include "app/form1.h"
#include "platform/qt/qt_machine.h"
#include "windows/form2.h"

namespace volumetra {
namespace {

TEST(GraphWindowWidgets, ATwentyTebibyteDrivesBarEndsInsideTheWindowBeforeItsScaleMark) {
  QtMachine qt;
  qt.volumes.add('C', 24.0 * 1048576, 20.0 * 1048576, "ARCHIVE");
  qt.volumes.add('D', 40000, 10000, "SYSTEM");
  Program& program = qt.start();
  Form2& graph = program.form2();
  qt.advance(500);  // the first survey draws the bars and the scale captions
  ProcessQtEvents();

  const QWidget& window = qt.window(graph);
  ASSERT_TRUE(window.isVisible());
  const QWidget& bar = qt.widget<QWidget>(graph, *graph.Shape2[0]);
  EXPECT_TRUE(bar.isVisibleTo(&window));
  EXPECT_NEAR(bar.width(), ScreenPixels(4131), 1);
  EXPECT_EQ(bar.x(), ScreenPixels(240));
  EXPECT_LE(bar.geometry().right(), window.width() - 1);
  EXPECT_EQ(qt.widget<QSlider>(graph, graph.Slider1).value(), 196);

  // The 4200-twip mark's caption names the MB there, and the 20 TiB bar ends short of it.
  const auto& mark = qt.widget<QLabel>(graph, graph.Label30);
  EXPECT_EQ(mark.text(), QStringLiteral(" 21319796 MB"));
  EXPECT_LT(bar.geometry().right(), mark.geometry().right());
  EXPECT_LE(mark.geometry().right(), window.width() - 1);
}

}  // namespace
}  // namespace volumetra
