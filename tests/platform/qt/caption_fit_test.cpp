// Fixed-size labels and check-box captions on the real widgets: every caption is drawn whole and
// inside its control, in a smaller size of the designed font where the designed size is too wide.
// The same tests run again at a scale factor of 2 (see tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFontMetricsF>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "app/form1.h"
#include "platform/qt/caption_check_box.h"
#include "platform/qt/caption_label.h"
#include "platform/qt/qt_machine.h"
#include "platform/text_fit.h"
#include "support/todays_drives.h"
#include "windows/form2.h"
#include "windows/form3.h"

// Failures show captions as text.
void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace volumetra {
namespace {

constexpr int kReach = 24;  // how far beyond a label the tests look for ink

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

int TextFlags(const QLabel& label) {
  return static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
}

// The pixels of `label`'s text that would fall outside the label, and those inside it: the text is
// drawn again by a plain label of the same font, alignment and margins that reaches kReach pixels
// further wherever the text could run out (not across for wrapped lines: those wrap at the width).
std::pair<int, int> InkOutsideAndInside(const QLabel& label) {
  QWidget stage;
  stage.resize(label.size() + QSize(2 * kReach, 2 * kReach));
  QPalette palette;
  palette.setColor(QPalette::Window, Qt::black);
  palette.setColor(QPalette::WindowText, Qt::white);
  stage.setPalette(palette);
  stage.setAutoFillBackground(true);
  QLabel twin(&stage);
  twin.setTextFormat(Qt::PlainText);
  twin.setFont(label.font());
  twin.setAlignment(label.alignment());
  twin.setWordWrap(label.wordWrap());
  twin.setContentsMargins(label.contentsMargins());
  twin.setText(label.text());
  const QRect own(QPoint(kReach, kReach), label.size());
  QRect reach = own;
  const Qt::Alignment align = label.alignment();
  if (!label.wordWrap()) {
    if (!(align & Qt::AlignRight)) reach.setRight(stage.width() - 1);
    if (align & (Qt::AlignRight | Qt::AlignHCenter)) reach.setLeft(0);
  }
  if (!(align & Qt::AlignBottom)) reach.setBottom(stage.height() - 1);
  if (align & (Qt::AlignBottom | Qt::AlignVCenter)) reach.setTop(0);
  twin.setGeometry(reach);
  QImage image = stage.grab().toImage();
  const qreal ratio = image.devicePixelRatio();
  image.setDevicePixelRatio(1);
  const QRect ownPixels(own.topLeft() * ratio, own.size() * ratio);
  int outside = 0;
  int inside = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == Qt::black) continue;
      ++(ownPixels.contains(x, y) ? inside : outside);
    }
  }
  return {outside, inside};
}

// The label draws exactly `caption`, nothing of it outside the label.
void ExpectDrawnWhole(const CaptionLabel& label, const QString& caption, const std::string& what) {
  SCOPED_TRACE(what + " \"" + caption.toStdString() + "\" at " + std::to_string(label.font().pointSizeF()) +
               " pt, device pixel ratio " + std::to_string(label.devicePixelRatioF()));
  EXPECT_EQ(label.text(), caption);
  const QRectF area = label.contentsRect();
  const QRectF used = QFontMetricsF(label.font(), &label).boundingRect(area, TextFlags(label), label.text());
  EXPECT_LE(used.width(), area.width());
  if (label.wordWrap()) {
    EXPECT_LE(used.height(), area.height());
  }
  const auto [outside, inside] = InkOutsideAndInside(label);
  EXPECT_EQ(outside, 0);
  if (!caption.trimmed().isEmpty()) {
    EXPECT_GT(inside, 0);
  }
}

// Every fixed-size label of `form` that is shown draws its caption whole.
void ExpectEveryLabelWhole(const QtMachine& qt, const Form& form) {
  for (const std::unique_ptr<Control>& owned : form.controls()) {
    const Control& c = *owned;
    if (c.kind() != ControlKind::Label || c.autoSize()) continue;
    const auto& label = qt.widget<CaptionLabel>(form, c);
    if (!label.isVisibleTo(&qt.window(form))) continue;
    ExpectDrawnWhole(label, Q(c.caption()),
                     form.name() + "." + c.name() + "(" + std::to_string(c.index()) + ")");
  }
}

class CaptionFit : public ::testing::Test {
 protected:
  Form1& form1() { return qt.program->form1(); }
  const CaptionLabel& label(const Form& form, const Control& c) { return qt.widget<CaptionLabel>(form, c); }
  bool shrunk(const Form& form, const Control& c) {
    return label(form, c).font().pointSizeF() < label(form, c).designedFont().pointSizeF();
  }

  void startIn(const char* language) {
    std::ofstream(qt.iniPath()) << "[System]\nLanguage=" << language << "\n";
    qt.start();
    qt.advance(1200);  // two surveys
    ProcessQtEvents();
  }

  QtMachine qt;
};

// The second run must really draw at the scale factor it is given.
TEST(CaptionFitScale, DrawsAtTheScaleFactorOfTheRun) {
  EnsureQtApplication();
  QLabel label;
  const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
  EXPECT_DOUBLE_EQ(label.devicePixelRatioF(), factor.isEmpty() ? 1.0 : factor.toDouble());
}

TEST_F(CaptionFit, TodaysValuesReadWholeInTheMainWindowInBothUnits) {
  AddTodaysDrives(qt.volumes);
  startIn("English");
  // The cases a designed-size text cut off.
  EXPECT_EQ(form1().Label7[0]->caption(), "179 125 039 063");
  EXPECT_EQ(form1().Label5[3]->caption(), "20 971 520 000");
  EXPECT_EQ(form1().Label9[3]->caption(), "-2147483648");
  EXPECT_EQ(form1().Label4[1]->caption(), "Ram/TMPFS");
  EXPECT_EQ(form1().Label4[2]->caption(), "HD/FUSEISO");
  for (const Control* c : {form1().Label7[0], form1().Label4[2], &form1().Label183}) {
    EXPECT_TRUE(shrunk(form1(), *c)) << c->name() << " needs a smaller size to fit";
  }
  ExpectEveryLabelWhole(qt, form1());

  QTest::mouseClick(qt.view(form1()).widget(form1().Label12), Qt::LeftButton);  // MB and KB
  qt.advance(600);
  ProcessQtEvents();
  EXPECT_EQ(form1().Label12.caption(), "Total (MB)");
  ExpectEveryLabelWhole(qt, form1());
}

TEST_F(CaptionFit, GermanHeadersSumsAndGraphCaptionsReadWhole) {
  AddTodaysDrives(qt.volumes);
  startIn("Deutsch");
  EXPECT_EQ(form1().Label14.caption(), "Belegt (Bytes)");
  EXPECT_EQ(form1().Label52.caption(), "Belegt");
  ExpectEveryLabelWhole(qt, form1());

  // The graph window at its smallest scale, with its widest scale captions: the 20 TiB drive has
  // the scale divided by 10000.
  Form2& graph = qt.program->form2();
  graph.Slider1.setValue(0);
  qt.advance(600);
  ProcessQtEvents();
  EXPECT_EQ(graph.Label31.caption(), " 8400000000 MB");
  EXPECT_EQ(graph.Label27.caption(), "Gesamt");
  ExpectEveryLabelWhole(qt, graph);
}

TEST_F(CaptionFit, TheWidestScaleCaptionsOfAPetabyteDriveReadWhole) {
  qt.volumes.add('C', 1e15 / 1048576, 1e15 / 1048576, "PETA");
  startIn("English");
  Form2& graph = qt.program->form2();
  graph.Slider1.setValue(0);  // the smallest scale of the largest divisor there is
  qt.advance(600);
  ProcessQtEvents();
  EXPECT_EQ(graph.Label31.caption(), " 840000000000 MB");
  EXPECT_EQ(graph.Label30.caption(), " 420000000000 MB");
  EXPECT_EQ(graph.Label29.caption(), " 210000000000 MB");
  ExpectEveryLabelWhole(qt, graph);
}

TEST_F(CaptionFit, ANumberThatChangesOnEverySurveyStaysWholeAsItsWidthChanges) {
  qt.volumes.add('C', 40000, 10000, "SYSTEM");
  startIn("English");
  Control& used = *form1().Label7[0];
  const CaptionLabel& cell = label(form1(), used);
  // Same widths one after another, then wider and narrower ones.
  for (const char* value : {"179 125 039 063", "179 125 039 064", "179 125 111 111", "1 179 125 039 064",
                            "79 125 039 064", "179 125 039 065", "1 234"}) {
    used.setCaption(value);
    ExpectDrawnWhole(cell, Q(value), "Label7(0)");
  }
  EXPECT_EQ(cell.font(), cell.designedFont());
}

TEST_F(CaptionFit, ACaptionTooLongEvenAtTheSmallestSizeShowsAnEllipsisOnTheSideItLoses) {
  qt.volumes.add('C', 40000, 10000, "SYSTEM", 3, "FUSE.SSHFS");
  startIn("English");
  Control& used = *form1().Label7[0];  // right-aligned
  Control& type = *form1().Label4[0];  // left-aligned, too narrow for this type text even at 6 pt
  used.setCaption("123 456 789 012 345 678 901 234");
  EXPECT_EQ(type.caption(), "HD/FUSE.SSHFS");
  const CaptionLabel& usedLabel = label(form1(), used);
  const CaptionLabel& nameLabel = label(form1(), type);
  for (const CaptionLabel* l : {&usedLabel, &nameLabel}) {
    EXPECT_EQ(l->font().pointSizeF(), kSmallestFittingPoints);
    EXPECT_LE(QFontMetricsF(l->font(), l).horizontalAdvance(l->text()), l->contentsRect().width());
    EXPECT_EQ(InkOutsideAndInside(*l).first, 0);
  }
  EXPECT_TRUE(usedLabel.text().startsWith(u'\u2026')) << usedLabel.text().toStdString();
  EXPECT_TRUE(usedLabel.text().endsWith(QStringLiteral("234")));
  EXPECT_TRUE(nameLabel.text().endsWith(u'\u2026')) << nameLabel.text().toStdString();
  EXPECT_TRUE(nameLabel.text().startsWith(QStringLiteral("HD/FUSE")));
  // Assistive tools still read the whole caption.
  EXPECT_EQ(
      QAccessible::queryAccessibleInterface(const_cast<CaptionLabel*>(&usedLabel))->text(QAccessible::Name),
      Q(used.caption()));

  // A caption that fits again is drawn whole in the designed font.
  used.setCaption("1 234");
  EXPECT_EQ(usedLabel.text(), "1 234");
  EXPECT_EQ(usedLabel.font(), usedLabel.designedFont());
  EXPECT_EQ(usedLabel.contentsMargins(), QMargins());
}

class CaptionFitDialog : public CaptionFit {
 protected:
  Form3& openOptions(const char* language) {
    startIn(language);
    qt.widget<QPushButton>(form1(), form1().Command4).click();
    ProcessQtEvents();
    return qt.program->form3();
  }
  CaptionCheckBox& box(const Control& c) { return qt.widget<CaptionCheckBox>(qt.program->form3(), c); }
  // A page's controls are laid out when it is shown.
  void showPage(int page) {
    qt.program->form3().SSTab1.setValue(page);
    ProcessQtEvents();
  }
};

TEST_F(CaptionFitDialog, LongGermanCheckBoxCaptionsWrapWithinTheirDesignedHeight) {
  Form3& options = openOptions("Deutsch");
  EXPECT_EQ(options.Check3.caption(), "Farb-Alarm-Information bei niedriger Fesplattenkapazität");
  EXPECT_EQ(options.Check2.caption(), "grafische Auswertung an Hauptfenster koppeln");
  for (Control* c : {&options.Check3, &options.Check2}) {
    showPage(c->tabPage());
    const CaptionLabel& caption = box(*c).captionLabel();
    ExpectDrawnWhole(caption, Q(c->caption()), c->name());
    const qreal line = QFontMetricsF(caption.font(), &caption).lineSpacing();
    EXPECT_GT(caption.textRect().height(), 1.5 * line) << c->name() << " wraps onto a second line";
    EXPECT_LE(caption.geometry().top() + caption.textRect().bottom(), box(*c).height()) << c->name();
  }
  for (Control* language : {&options.Option5, &options.Option6}) {
    language->setValue(1);  // as a click on the language button
    for (int page = 0; page < 4; ++page) {
      showPage(page);
      for (const std::unique_ptr<Control>& owned : options.controls()) {
        if (owned->kind() != ControlKind::CheckBox || owned->tabPage() != page) continue;
        ExpectDrawnWhole(box(*owned).captionLabel(), Q(owned->caption()),
                         language->caption() + " " + owned->name());
      }
    }
  }
}

TEST_F(CaptionFitDialog, AWrappedCheckBoxKeepsClicksKeysStatesAndItsAccessibleName) {
  Form3& options = openOptions("Deutsch");
  showPage(options.Check3.tabPage());
  CaptionCheckBox& alarm = box(options.Check3);
  const CaptionLabel& caption = alarm.captionLabel();

  // A click on the caption's last line toggles the box.
  const QPoint lastLine = caption.geometry().topLeft() + caption.textRect().bottomLeft() + QPoint(4, -3);
  QTest::mouseClick(&alarm, Qt::LeftButton, {}, lastLine);
  EXPECT_EQ(options.Check3.value(), kChecked);
  EXPECT_TRUE(qt.program->m.AlarmColours);

  // The keyboard reaches it and toggles it.
  alarm.setFocus();
  EXPECT_TRUE(alarm.hasFocus());
  QTest::keyClick(&alarm, Qt::Key_Space);
  EXPECT_EQ(options.Check3.value(), kUnchecked);

  options.Check3.setValue(kGrayed);
  EXPECT_EQ(alarm.checkState(), Qt::PartiallyChecked);

  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&alarm);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::CheckBox);
  EXPECT_EQ(accessible->text(QAccessible::Name), Q(options.Check3.caption()));
  EXPECT_TRUE(accessible->state().checkStateMixed);
}

}  // namespace
}  // namespace volumetra
