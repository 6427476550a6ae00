// What the real windows draw, read back from their pixels, in English and German, with today's
// disks: every caption whole, on nothing that covers it and touching no neighbour; a column's cells
// at one size and a row's texts on one baseline; indicators and the slider's handle whole; Return
// and Enter press the focused button. The same tests run again at a scale factor of 2 (see
// tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <map>

#include "app/form1.h"
#include "platform/caption_groups.h"
#include "platform/qt/caption_label.h"
#include "platform/qt/qt_machine.h"
#include "platform/qt/self_sizing_label.h"
#include "support/todays_drives.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/frm_splash.h"

namespace volumetra {
namespace {

// What `w` draws, in device pixels.
QImage Drawn(QWidget& w) {
  QImage image = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  image.setDevicePixelRatio(1);
  return image;
}

// The colour most pixels of `image` have.
QRgb Background(const QImage& image) {
  std::map<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
  }
  return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })
      ->first;
}

// The pixels of `image` within `area` that differ from `background`, and their bounding box.
struct Ink {
  std::vector<QPoint> pixels;
  QRect box;
};

Ink InkOf(const QImage& image, QRgb background, QRect area = {}) {
  if (area.isNull()) area = image.rect();
  area &= image.rect();
  Ink ink;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixel(x, y) == background) continue;
      ink.pixels.emplace_back(x, y);
      ink.box |= QRect(x, y, 1, 1);
    }
  }
  return ink;
}

int Ratio(const QWidget& w) {
  return qRound(w.devicePixelRatioF());
}

// Where `w` stands in `window`, in device pixels.
QRect DeviceRect(const QWidget& w, const QWidget& window) {
  const int ratio = Ratio(window);
  return QRect(w.mapTo(&window, QPoint(0, 0)) * ratio, w.size() * ratio);
}

// The ink box of `label`'s text drawn alone, with room on every side, in its font and colours.
QRect FreeInkBox(const QLabel& label) {
  const int ratio = Ratio(label);
  const QRgb back = qRgb(0, 0, 0);
  QImage image(QSize(label.width() + 200, label.height() + 200) * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(back);
  {
    QPainter painter(&image);
    painter.setFont(label.font());
    painter.setPen(Qt::white);
    const int flags =
        static_cast<int>(Qt::AlignLeft | Qt::AlignTop) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    painter.drawText(QRectF(100, 100, label.contentsRect().width(), label.height() + 100), flags,
                     label.text());
  }
  image.setDevicePixelRatio(1);
  return InkOf(image, back).box;
}

bool HasCoveredSpans(const QLabel& label) {
  const auto* selfSizing = dynamic_cast<const SelfSizingLabel*>(&label);
  return selfSizing && !selfSizing->coveredSpans().empty();
}

std::string NameOf(const QWidget& w) {
  return w.objectName().toStdString();
}

// Every label of `form` that shows a caption draws it whole, nothing draws over it, and it touches
// nothing: every pixel next to its ink that is not the label's own shows the label's background.
// Gives how many labels it looked at.
int ExpectCaptionsDrawnClear(const QtMachine& qt, const Form& form, const std::string& what) {
  QWidget& window = qt.window(form);
  const QImage drawn = Drawn(window);
  int checked = 0;
  for (const std::unique_ptr<Control>& owned : form.controls()) {
    if (owned->kind() != ControlKind::Label) continue;
    auto* label = static_cast<QLabel*>(qt.view(form).widget(*owned));
    if (!label->isVisibleTo(&window) || label->text().trimmed().isEmpty()) continue;
    SCOPED_TRACE(what + " " + NameOf(*label) + " \"" + label->text().toStdString() + "\" at " +
                 std::to_string(label->font().pointSizeF()) + " pt");
    const QImage own = Drawn(*label);
    const QRgb background = Background(own);
    const Ink ink = InkOf(own, background);
    EXPECT_FALSE(ink.pixels.empty());
    if (ink.pixels.empty()) continue;
    ++checked;
    if (!HasCoveredSpans(*label)) {
      EXPECT_EQ(label->text(), QString::fromStdString(owned->caption()));
      const QRect free = FreeInkBox(*label);
      EXPECT_NEAR(ink.box.width(), free.width(), 1);
      EXPECT_NEAR(ink.box.height(), free.height(), 1);
    }
    const QRect at = DeviceRect(*label, window);
    // A label that lets its container show through has the container's colour behind its ink.
    const QRgb shownBackground = label->autoFillBackground() ? background : Background(drawn.copy(at));
    // The siblings drawn over it.
    std::vector<QRect> front;
    const QObjectList& siblings = label->parentWidget()->children();
    for (qsizetype i = siblings.indexOf(label) + 1; i < siblings.size(); ++i) {
      auto* sibling = qobject_cast<QWidget*>(siblings[i]);
      if (sibling && sibling->isVisibleTo(&window)) front.push_back(DeviceRect(*sibling, window));
    }
    const auto covered = [&](QPoint p) {
      return std::any_of(front.begin(), front.end(), [&](const QRect& r) { return r.contains(p); });
    };
    int hidden = 0;
    int touching = 0;
    for (const QPoint& p : ink.pixels) {
      const QPoint inWindow = p + at.topLeft();
      if (!drawn.rect().contains(inWindow)) continue;  // beyond the window's edge
      // The window shows it as the label draws it (a label that lets its container show through
      // blends its ink with what is under it).
      if (covered(inWindow) || (label->autoFillBackground() && drawn.pixel(inWindow) != own.pixel(p)))
        ++hidden;
      bool touches = false;
      for (int dy = -1; dy <= 1 && !touches; ++dy) {
        for (int dx = -1; dx <= 1 && !touches; ++dx) {
          const QPoint q = inWindow + QPoint(dx, dy);
          const bool ownPixel = at.contains(q) && !covered(q);
          touches = drawn.rect().contains(q) && !ownPixel && drawn.pixel(q) != shownBackground;
        }
      }
      touching += touches;
    }
    EXPECT_EQ(hidden, 0);
    EXPECT_EQ(touching, 0);
  }
  return checked;
}

class DrawnWindows : public ::testing::TestWithParam<const char*> {
 protected:
  Form1& main() { return qt.program->form1(); }
  Form2& graph() { return qt.program->form2(); }

  void start() {
    AddTodaysDrives(qt.volumes);
    std::ofstream(qt.iniPath()) << "[System]\nLanguage=" << GetParam() << "\n";
    qt.start();
    qt.advance(1200);  // two surveys
    ProcessQtEvents();
  }
  void showGraph() {
    main().Command5.Click();
    qt.advance(600);
    ProcessQtEvents();
  }
  Form3& showOptionsPage(int page) {
    Form3& options = qt.program->form3();
    options.Show();
    options.SSTab1.setValue(page);
    ProcessQtEvents();
    return options;
  }
  template <typename W>
  W& widget(const Form& form, const Control& c) {
    return qt.widget<W>(form, c);
  }

  QtMachine qt;
};

TEST_P(DrawnWindows, EveryCaptionIsDrawnWholeUncoveredAndClearOfItsNeighbours) {
  start();
  EXPECT_GT(ExpectCaptionsDrawnClear(qt, main(), "main window"), 30);
  // The corner cell's header line shows only whole characters beside the header cells.
  const auto& corner = widget<SelfSizingLabel>(main(), main().Label1);
  EXPECT_EQ(corner.coveredSpans().size(), GetParam() == std::string("Deutsch") ? 7u : 0u);

  showGraph();
  EXPECT_GT(ExpectCaptionsDrawnClear(qt, graph(), "graph window"), 6);
  // The legend's caption is whole beside its square, and the square stands where it is designed.
  EXPECT_EQ(widget<CaptionLabel>(graph(), graph().Label27).text(),
            GetParam() == std::string("Deutsch") ? "Gesamt" : "Total");
  const QRect square = widget<QWidget>(graph(), graph().Shape52).geometry();
  EXPECT_EQ(square.left(), ScreenPixels(graph().Shape52.left()));
  EXPECT_EQ(square.width(),
            ScreenPixels(graph().Shape52.left() + 255) - ScreenPixels(graph().Shape52.left()));

  int onPages = 0;
  for (int page = 0; page < 4; ++page) {
    onPages += ExpectCaptionsDrawnClear(qt, showOptionsPage(page), "options page " + std::to_string(page));
  }
  EXPECT_EQ(onPages, 4);  // the logging page's two field labels, the alarm page's value and unit
  main().Command3.Click();
  ProcessQtEvents();
  EXPECT_GT(ExpectCaptionsDrawnClear(qt, qt.program->frmSplash(), "about box"), 0);
}

TEST_P(DrawnWindows, TheCellsOfAColumnShareOneSizeAndTheTextsOfARowOneBaseline) {
  start();
  showGraph();
  for (const Form* form : {static_cast<const Form*>(&main()), static_cast<const Form*>(&graph())}) {
    QWidget& window = qt.window(*form);
    for (const std::vector<Control*>& column : CaptionSizeGroups(*form)) {
      const auto& first = widget<CaptionLabel>(*form, *column.front());
      SCOPED_TRACE(form->name() + " column " + NameOf(first));
      const qreal points = first.font().pointSizeF();
      bool oneWouldNotFitLarger = points == first.designedFont().pointSizeF();
      for (const Control* cell : column) {
        const auto& label = widget<CaptionLabel>(*form, *cell);
        EXPECT_EQ(label.font().pointSizeF(), points) << NameOf(label);
        QFont larger = label.font();
        larger.setPointSizeF(points + 0.25);
        oneWouldNotFitLarger =
            oneWouldNotFitLarger ||
            QFontMetricsF(larger, &label).horizontalAdvance(label.text()) > label.contentsRect().width();
      }
      // The largest size at which every cell fits.
      EXPECT_TRUE(oneWouldNotFitLarger);
    }
    for (const std::vector<Control*>& row : CaptionRows(*form)) {
      // The baseline each drawn caption stands on: the bottom of its ink, less how far its
      // characters reach below the baseline.
      std::vector<double> baselines;
      std::string names;
      for (const Control* cell : row) {
        auto& label = widget<CaptionLabel>(*form, *cell);
        if (!label.isVisibleTo(&window) || label.text().trimmed().isEmpty()) continue;
        const QImage own = Drawn(label);
        const Ink ink = InkOf(own, Background(own));
        const double below = QFontMetricsF(label.font(), &label).tightBoundingRect(label.text()).bottom();
        baselines.push_back(DeviceRect(label, window).top() + ink.box.bottom() + 1 - below * Ratio(label));
        names += " " + NameOf(label);
      }
      if (baselines.size() < 2) continue;
      const auto [low, high] = std::minmax_element(baselines.begin(), baselines.end());
      EXPECT_LE(*high - *low, 1.0) << form->name() << " row" << names;
    }
  }
  // The cells that need it are drawn smaller, with their whole columns.
  const auto& used = widget<CaptionLabel>(main(), *main().Label7[0]);
  EXPECT_LT(used.font().pointSizeF(), used.designedFont().pointSizeF());
  EXPECT_EQ(widget<CaptionLabel>(main(), *main().Label7[3]).font(), used.font());
  const auto& type = widget<CaptionLabel>(main(), *main().Label4[0]);
  EXPECT_EQ(widget<CaptionLabel>(main(), *main().Label4[1]).font(), type.font());
  EXPECT_EQ(widget<CaptionLabel>(main(), main().Label182).font(),
            widget<CaptionLabel>(main(), main().Label183).font());
}

// The rows of `image` in which the columns `from`..`to` hold ink.
std::pair<int, int> InkRows(const QImage& image, int from, int to) {
  const Ink ink = InkOf(image, Background(image), QRect(from, 0, to - from + 1, image.height()));
  return {ink.box.top(), ink.box.bottom()};
}

TEST_P(DrawnWindows, IndicatorsAndTheGraphSliderHandleAreDrawnWhole) {
  start();
  Form3& options = showOptionsPage(0);
  int checked = 0;
  for (int page = 0; page < 4; ++page) {
    showOptionsPage(page);
    for (const std::unique_ptr<Control>& owned : options.controls()) {
      const bool box = owned->kind() == ControlKind::CheckBox;
      if ((!box && owned->kind() != ControlKind::OptionButton) || owned->tabPage() != page) continue;
      auto& button = widget<QAbstractButton>(options, *owned);
      SCOPED_TRACE(NameOf(button));
      QStyleOptionButton option;
      option.initFrom(&button);
      const QRect indicator = button.style()->subElementRect(
          box ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &option, &button);
      EXPECT_TRUE(button.rect().contains(indicator));
      // As tall as the same indicator drawn with room to spare.
      QWidget stage;
      stage.setPalette(button.palette());
      QAbstractButton* twin = box ? static_cast<QAbstractButton*>(new QCheckBox(&stage))
                                  : static_cast<QAbstractButton*>(new QRadioButton(&stage));
      twin->setFont(button.font());
      twin->setGeometry(0, 20, button.width(), indicator.height() + 20);
      stage.resize(button.width(), indicator.height() + 60);
      const int ratio = Ratio(button);
      const auto [top, bottom] = InkRows(Drawn(button), indicator.left() * ratio, indicator.right() * ratio);
      const auto [twinTop, twinBottom] =
          InkRows(Drawn(*twin), indicator.left() * ratio, indicator.right() * ratio);
      EXPECT_EQ(bottom - top, twinBottom - twinTop);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 18);

  showGraph();
  auto& slider = widget<QSlider>(graph(), graph().Slider1);
  QWidget& window = qt.window(graph());
  EXPECT_TRUE(window.rect().contains(slider.geometry()));
  QStyleOptionSlider option;
  option.initFrom(&slider);
  option.orientation = slider.orientation();
  option.minimum = slider.minimum();
  option.maximum = slider.maximum();
  option.sliderPosition = slider.sliderPosition();
  option.sliderValue = slider.value();
  const QRect handle =
      slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider);
  EXPECT_TRUE(slider.rect().contains(handle));
  // The window shows the handle's last row of ink with slider under it.
  const int ratio = Ratio(slider);
  const QImage drawn = Drawn(window);
  const QRect at = DeviceRect(slider, window);
  const auto [top, bottom] = InkRows(drawn.copy(at), handle.left() * ratio, handle.right() * ratio);
  EXPECT_LT(at.top() + bottom, drawn.height() - 1);
  EXPECT_GT(bottom - top, handle.height() * ratio / 2);
}

INSTANTIATE_TEST_SUITE_P(Languages, DrawnWindows, ::testing::Values("English", "Deutsch"));

TEST(DrawnWindowsKeys, ReturnAndEnterPressTheFocusedButtonAsSpaceDoes) {
  QtMachine qt;
  qt.volumes.add('C', 40000, 10000, "SYSTEM");
  qt.start();
  Form1& main = qt.program->form1();
  auto& stop = qt.widget<QPushButton>(main, main.Command1);
  qt.window(main).activateWindow();
  stop.setFocus();
  ProcessQtEvents();
  ASSERT_TRUE(stop.hasFocus());
  const std::pair<Qt::Key, const char*> presses[] = {
      {Qt::Key_Return, "Start"}, {Qt::Key_Enter, "Stop"}, {Qt::Key_Space, "Start"}, {Qt::Key_Return, "Stop"}};
  for (const auto& [key, caption] : presses) {
    QTest::keyClick(&stop, key);
    EXPECT_EQ(main.Command1.caption(), caption) << "key " << static_cast<int>(key);
    EXPECT_EQ(stop.text(), caption);
  }
  // A key no button takes does nothing.
  QTest::keyClick(&stop, Qt::Key_A);
  EXPECT_EQ(main.Command1.caption(), "Stop");
}

}  // namespace
}  // namespace volumetra
