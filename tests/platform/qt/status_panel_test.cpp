// The status bar's panel: it must look as a sunken label with the same text, and a new text may
// repaint only the words that changed, leaving the same picture as a full repaint.
#include "platform/qt/status_panel.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QRegion>

#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

constexpr QSize kSize(600, 17);
const QString kCount1 = QStringLiteral("Testloop No. 9                          08.12.2026   21:44:14");
const QString kCount2 = QStringLiteral("Testloop No. 10                          08.12.2026   21:44:14");
const QString kClock = QStringLiteral("Testloop No. 10                          08.12.2026   21:44:15");

QFont StatusFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPointSizeF(8.25);
  return font;
}

QImage Rendered(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
  widget.render(&image);
  return image;
}

int DifferingPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height();
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
  }
  return count;
}

// Notes the area of every paint the panel receives.
class PaintRecorder : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  QRegion painted;
};

// Fixtures build widgets as members: the application must come first.
class QtApplicationTest : public ::testing::Test {
 protected:
  QtApplicationTest() { EnsureQtApplication(); }
};

class StatusPanelTest : public QtApplicationTest {
 protected:
  StatusPanelTest() {
    panel.setFont(StatusFont());
    panel.setAutoFillBackground(true);
    panel.resize(kSize);
  }

  // The picture of a panel made afresh with `text`.
  QImage Fresh(const QString& text, const QFont& font = StatusFont()) {
    StatusPanel fresh;
    fresh.setFont(font);
    fresh.setAutoFillBackground(true);
    fresh.resize(kSize);
    fresh.setText(text);
    return Rendered(fresh);
  }

  // Shows `before`, then `after`, and returns the area repainted for the change.
  QRegion RepaintFor(const QString& before, const QString& after) {
    panel.setText(before);
    panel.show();
    ProcessQtEvents();
    panel.installEventFilter(&recorder);
    recorder.painted = QRegion();
    panel.setText(after);
    ProcessQtEvents();
    panel.removeEventFilter(&recorder);
    return recorder.painted;
  }

  StatusPanel panel;
  PaintRecorder recorder;
};

TEST_F(StatusPanelTest, LooksLikeASunkenLabelWithTheSameText) {
  QLabel label;
  label.setFont(StatusFont());
  label.setAutoFillBackground(true);
  label.setTextFormat(Qt::PlainText);
  label.setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label.setIndent(3);
  label.resize(kSize);
  for (const QString& text : {kCount2, QStringLiteral("Log file not written: /a & b/x.log: No such file")}) {
    label.setText(text);
    panel.setText(text);
    EXPECT_EQ(DifferingPixels(Rendered(panel), Rendered(label)), 0) << text.toStdString();
  }
}

TEST_F(StatusPanelTest, ANewCountRepaintsOnlyWhatFollowsIt) {
  const QRegion painted = RepaintFor(kCount1, kCount2);
  const int countStart = QFontMetrics(StatusFont()).horizontalAdvance(QStringLiteral("Testloop No. "));
  EXPECT_FALSE(painted.isEmpty());
  EXPECT_GE(painted.boundingRect().left(), countStart - 8) << "the unchanged words before the count";
  // One more digit moves the date and the time: they are repainted in their new place.
  EXPECT_GE(painted.boundingRect().right(), QFontMetrics(StatusFont()).horizontalAdvance(kCount2));
}

TEST_F(StatusPanelTest, ATickOfTheClockRepaintsOnlyTheTime) {
  const QRegion painted = RepaintFor(kCount2, kClock);
  const int timeStart = QFontMetrics(StatusFont()).horizontalAdvance(kClock.left(kClock.size() - 8));
  EXPECT_FALSE(painted.isEmpty());
  EXPECT_GE(painted.boundingRect().left(), timeStart - 8);
}

TEST_F(StatusPanelTest, APartialRepaintLeavesThePictureOfAFullOne) {
  const QString texts[] = {kCount1,   kCount2,
                           kClock,    QStringLiteral("Testloop No. 1"),
                           QString(), QStringLiteral("  leading and  double  spaces ")};
  panel.setText(texts[0]);
  QImage shown = Rendered(panel);
  for (const QString& text : texts) {
    const QRegion painted = RepaintFor(panel.text(), text);
    // What the screen shows: the old picture with the repainted area drawn anew.
    if (!painted.isEmpty()) panel.render(&shown, painted.boundingRect().topLeft(), painted);
    EXPECT_EQ(DifferingPixels(shown, Fresh(text)), 0) << "after \"" << text.toStdString() << '"';
    EXPECT_EQ(panel.text(), text);
  }
}

TEST_F(StatusPanelTest, AssistiveToolsReadTheLineAsItStands) {
  panel.setText(kCount1);
  panel.setText(kClock);
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&panel);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::StatusBar);
  EXPECT_EQ(accessible->text(QAccessible::Name), kClock);
}

TEST_F(StatusPanelTest, ANewFontLaysTheLineOutAgain) {
  panel.setText(kCount2);
  QFont large = StatusFont();
  large.setPointSizeF(12);
  panel.setFont(large);
  EXPECT_EQ(DifferingPixels(Rendered(panel), Fresh(kCount2, large)), 0);
}

}  // namespace
}  // namespace volumetra
