// The main window's status line on the toolkit's own status bar: what it shows, what assistive
// tools read, and that a survey changing nothing else repaints the status bar alone.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QPaintEvent>
#include <QStatusBar>
#include <map>

#include "app/form1.h"
#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

// Notes every widget of the application that paints, with the area it paints.
class PaintRecorder : public QObject {
 public:
  PaintRecorder() { qApp->installEventFilter(this); }
  ~PaintRecorder() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted[watched] += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  std::map<QObject*, QRegion> painted;
};

class StatusBar : public ::testing::Test {
 protected:
  void SetUp() override {
    for (char letter : {'C', 'D', 'E'}) qt.volumes.add(letter, 100000, 5000, "DISK");
    qt.start();
    qt.advance(1600);  // the first surveys fill the table and settle the colours
    ProcessQtEvents();
  }
  Form1& form1() { return qt.program->form1(); }
  QStatusBar& bar() { return qt.widget<QStatusBar>(form1(), form1().StatusBar1); }

  QtMachine qt;
};

TEST_F(StatusBar, ShowsTheStatusLineAndAssistiveToolsReadIt) {
  const QString line = QString::fromStdString(form1().StatusBar1.caption());
  ASSERT_TRUE(line.startsWith(QStringLiteral("Testloop No. 3 "))) << line.toStdString();
  EXPECT_EQ(bar().currentMessage(), line);

  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&bar());
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::StatusBar);
  EXPECT_EQ(accessible->text(QAccessible::Name), line);

  qt.advance(501);
  EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromStdString(form1().StatusBar1.caption()));
  EXPECT_NE(accessible->text(QAccessible::Name), line);
}

TEST_F(StatusBar, ASurveyThatChangesNothingElseRepaintsOnlyTheStatusBar) {
  PaintRecorder recorder;
  form1().Timer1_Timer();
  ProcessQtEvents();
  ASSERT_EQ(recorder.painted.size(), 1u);
  const auto& [widget, region] = *recorder.painted.begin();
  EXPECT_EQ(widget, &bar());
  EXPECT_TRUE(bar().rect().contains(region.boundingRect()));

  // A drive whose free space shrinks repaints its own cells as well.
  qt.volumes.add('D', 100000, 4000, "DISK");
  recorder.painted.clear();
  form1().Timer1_Timer();
  ProcessQtEvents();
  EXPECT_TRUE(recorder.painted.contains(qt.view(form1()).widget(*form1().Label6[1])));
  EXPECT_FALSE(recorder.painted.contains(qt.view(form1()).widget(*form1().Label6[0])));
}

}  // namespace
}  // namespace volumetra
