// Each kind of control on its Qt widget: the model's state shown, user input handed to the model,
// and the model's answer shown again without coming back as input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include "platform/qt/qt_machine.h"
#include "support/headless/virtual_event_loop.h"

namespace volumetra {
namespace {

const char* const kPicture[] = {"gk", "b."};

const ControlDesign kControls[] = {
    {.name = "Label1", .left = 120, .top = 120, .width = 1200, .height = 255, .caption = "plain"},
    {.name = "Label2",
     .left = 120,
     .top = 480,
     .width = 1200,
     .height = 255,
     .caption = "coloured",
     .foreColor = Rgb{0, 255, 0},
     .backColor = Rgb{0, 0, 0},
     .font = FontSpec{"MS Sans Serif", 9.75f, true}},
    {.name = "Check1",
     .kind = ControlKind::CheckBox,
     .left = 120,
     .top = 840,
     .width = 1500,
     .height = 255,
     .caption = "check",
     .value = kGrayed},
    {.name = "Text1", .kind = ControlKind::TextBox, .left = 120, .top = 1200, .width = 1500, .height = 285},
    {.name = "Slider1",
     .kind = ControlKind::Slider,
     .left = 120,
     .top = 1560,
     .width = 1500,
     .height = 300,
     .min = 0,
     .max = 100},
    {.name = "Frame1", .kind = ControlKind::Frame, .left = 1800, .top = 120, .width = 3000, .height = 1500},
    {.name = "Option1",
     .kind = ControlKind::OptionButton,
     .left = 120,
     .top = 120,
     .width = 1200,
     .height = 255,
     .caption = "one",
     .value = 1,
     .container = "Frame1"},
    {.name = "Option2",
     .kind = ControlKind::OptionButton,
     .left = 120,
     .top = 480,
     .width = 1200,
     .height = 255,
     .caption = "two",
     .container = "Frame1"},
    {.name = "Image1",
     .kind = ControlKind::Image,
     .left = 1500,
     .top = 120,
     .width = 600,
     .height = 600,
     .container = "Frame1",
     .picture = kPicture,
     .pictureSize = 2},
    {.name = "Tabs",
     .kind = ControlKind::TabControl,
     .left = 120,
     .top = 2040,
     .width = 4500,
     .height = 2400,
     .value = 1,
     .tabCaptions = "First|Second|Third"},
    {.name = "OnThird",
     .left = 240,
     .top = 600,
     .width = 1200,
     .height = 255,
     .caption = "third page",
     .container = "Tabs",
     .tabPage = 2},
    {.name = "StatusBar1",
     .kind = ControlKind::StatusBar,
     .left = 0,
     .top = 120,
     .width = 6000,
     .height = 255},
};

const FormDesign kDesign{.name = "Mirror",
                         .caption = "Mirror",
                         .width = 6000 + kFrameWidthTwips,
                         .height = 5000 + kFrameHeightTwips,
                         .clientWidth = 6000,
                         .clientHeight = 5000};

class RecordingHost : public FormHost {
 public:
  void CloseRequested(Form&) override { ++closeRequests; }
  Form* ActiveForm() override { return active; }
  void SetActiveForm(Form* form) override { active = form; }
  int closeRequests = 0;
  Form* active = nullptr;
};

class ControlMirror : public ::testing::Test {
 protected:
  ControlMirror() {
    EnsureQtApplication();
    form.attachView(windows.CreateView(form));
    form.Show();
  }
  ~ControlMirror() override {
    form.attachView(nullptr);
    ProcessQtEvents();
  }

  template <typename W>
  W& widget(const char* name) {
    return dynamic_cast<W&>(*view().widget(form.control(name)));
  }
  QtFormView& view() { return dynamic_cast<QtFormView&>(*form.view()); }

  RecordingHost host;
  VirtualEventLoop loop;
  QtWindowSystem windows;
  Form form{host, loop, kDesign, kControls};
};

TEST_F(ControlMirror, CheckBoxShowsGreyedAndTheModelDecidesWhatAClickDoes) {
  auto& box = widget<QCheckBox>("Check1");
  Control& check = form.control("Check1");
  int clicks = 0;
  check.onClick = [&] { ++clicks; };
  EXPECT_EQ(box.checkState(), Qt::PartiallyChecked);

  // Qt would move a greyed box on to checked; the model clears it.
  box.click();
  EXPECT_EQ(check.value(), kUnchecked);
  EXPECT_EQ(box.checkState(), Qt::Unchecked);
  box.click();
  EXPECT_EQ(check.value(), kChecked);
  EXPECT_EQ(box.checkState(), Qt::Checked);
  EXPECT_EQ(clicks, 2);

  check.setValue(kGrayed);
  EXPECT_EQ(box.checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(clicks, 3);  // a change from code runs the handler once, not again through the widget
}

TEST_F(ControlMirror, OptionButtonsOfAFrameStayExclusiveThroughTheModel) {
  auto& one = widget<QRadioButton>("Option1");
  auto& two = widget<QRadioButton>("Option2");
  EXPECT_EQ(one.parentWidget(), view().widget(form.control("Frame1")));
  EXPECT_TRUE(one.isChecked());

  two.click();
  EXPECT_EQ(form.control("Option2").value(), 1);
  EXPECT_EQ(form.control("Option1").value(), 0);
  EXPECT_TRUE(two.isChecked());
  EXPECT_FALSE(one.isChecked());

  // A click on the selected button leaves it selected, although Qt unchecks a lone radio button.
  two.click();
  EXPECT_TRUE(two.isChecked());
}

TEST_F(ControlMirror, TypedTextReachesTheModelAndARefusedChangeIsShownBack) {
  auto& edit = widget<QLineEdit>("Text1");
  Control& text = form.control("Text1");
  text.onChange = [&] {
    if (text.text().size() > 3) text.setText(text.text().substr(0, 3));
  };
  edit.setFocus();
  QTest::keyClicks(&edit, "abcd");
  EXPECT_EQ(text.text(), "abc");
  EXPECT_EQ(edit.text(), "abc");

  text.setText("xy");
  EXPECT_EQ(edit.text(), "xy");
}

TEST_F(ControlMirror, SliderMovesOfTheUserScrollAndValuesFromCodeDoNot) {
  auto& slider = widget<QSlider>("Slider1");
  Control& model = form.control("Slider1");
  int scrolls = 0;
  model.onScroll = [&] { ++scrolls; };

  QTest::keyClick(&slider, Qt::Key_Right);
  EXPECT_EQ(model.value(), 1);
  EXPECT_EQ(scrolls, 1);

  model.setValue(70);
  EXPECT_EQ(slider.value(), 70);
  EXPECT_EQ(scrolls, 1);
}

TEST_F(ControlMirror, TabPagesHoldTheirControlsPlacedFromTheTabControlsCorner) {
  auto& tabs = widget<QTabWidget>("Tabs");
  QWidget& onThird = *view().widget(form.control("OnThird"));
  EXPECT_EQ(tabs.count(), 3);
  EXPECT_EQ(tabs.tabText(2), "Third");
  EXPECT_EQ(tabs.currentIndex(), 1);
  EXPECT_EQ(onThird.parentWidget(), tabs.widget(2));

  tabs.setCurrentIndex(2);  // as a click on the tab does
  EXPECT_EQ(form.control("Tabs").value(), 2);
  ProcessQtEvents();
  EXPECT_EQ(onThird.mapTo(&tabs, QPoint(0, 0)), QPoint(ScreenPixels(240), ScreenPixels(600)));
}

TEST_F(ControlMirror, LabelsTakeTheirColoursFontsAndCaptions) {
  auto& plain = widget<QLabel>("Label1");
  auto& coloured = widget<QLabel>("Label2");
  EXPECT_TRUE(plain.autoFillBackground());
  EXPECT_EQ(plain.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
  EXPECT_EQ(coloured.palette().color(QPalette::Window), QColor(0, 0, 0));
  EXPECT_EQ(coloured.palette().color(QPalette::WindowText), QColor(0, 255, 0));

  const QFontInfo font(coloured.font());
  EXPECT_TRUE(QFontDatabase::families().contains(font.family()));
  EXPECT_NEAR(font.pointSizeF(), 9.75, 0.25);
  EXPECT_TRUE(font.bold());

  Control& label = form.control("Label2");
  label.setCaption("changed");
  label.setForeColor({255, 128, 0});
  label.setVisible(false);
  EXPECT_EQ(coloured.text(), "changed");
  EXPECT_EQ(coloured.palette().color(QPalette::WindowText), QColor(255, 128, 0));
  EXPECT_FALSE(coloured.isVisible());
}

TEST_F(ControlMirror, LabelAndFrameClicksReachTheModel) {
  int labelClicks = 0;
  int frameClicks = 0;
  form.control("Label1").onClick = [&] { ++labelClicks; };
  form.control("Frame1").onClick = [&] { ++frameClicks; };
  QTest::mouseClick(&widget<QLabel>("Label1"), Qt::LeftButton);
  // A click on the image inside the frame is the image's, not the frame's.
  QTest::mouseClick(&widget<QLabel>("Image1"), Qt::LeftButton);
  EXPECT_EQ(labelClicks, 1);
  EXPECT_EQ(frameClicks, 0);
  QWidget& frame = *view().widget(form.control("Frame1"));
  QTest::mouseClick(&frame, Qt::LeftButton, {}, QPoint(frame.width() - 4, frame.height() - 4));
  EXPECT_EQ(frameClicks, 1);
}

TEST_F(ControlMirror, ImageShowsItsPictureStretchedWithoutSmoothing) {
  auto& image = widget<QLabel>("Image1");
  const QImage shown = image.pixmap().toImage();
  ASSERT_EQ(shown.size(), QSize(ScreenPixels(600), ScreenPixels(600)) * image.devicePixelRatioF());
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(0, 255, 0));
  EXPECT_EQ(shown.pixelColor(shown.width() - 1, 0), QColor(0, 0, 0));
  EXPECT_EQ(shown.pixelColor(0, shown.height() - 1), QColor(0, 0, 255));
  EXPECT_EQ(shown.pixelColor(shown.width() - 1, shown.height() - 1).alpha(), 0);
}

TEST_F(ControlMirror, StatusBarIsDockedAlongTheBottomWhateverItsTop) {
  const QWidget& bar = *view().widget(form.control("StatusBar1"));
  const QWidget& window = *view().window();
  EXPECT_EQ(bar.geometry(), QRect(0, window.height() - ScreenPixels(255), window.width(), ScreenPixels(255)));
  form.setHeight(4000 + kFrameHeightTwips);
  EXPECT_EQ(bar.geometry().bottom(), window.height() - 1);
}

TEST_F(ControlMirror, CloseBoxAsksTheProgramAndKeepsTheWindow) {
  EXPECT_FALSE(view().window()->close());
  EXPECT_EQ(host.closeRequests, 1);
  QTest::keyClick(view().window(), Qt::Key_F4, Qt::AltModifier);
  EXPECT_EQ(host.closeRequests, 2);
}

class KeyCountingForm : public Form {
 public:
  using Form::Form;
  void Form_KeyPress(int keyCode) override { keys.push_back(keyCode); }
  std::vector<int> keys;
};

TEST(KeyPreview, FormSeesEachCharacterKeyOnceBeforeItsControls) {
  EnsureQtApplication();
  const ControlDesign controls[] = {
      {.name = "Frame1", .kind = ControlKind::Frame, .left = 0, .top = 0, .width = 3000, .height = 2000},
      {.name = "Command1",
       .kind = ControlKind::CommandButton,
       .left = 120,
       .top = 120,
       .width = 900,
       .height = 375,
       .caption = "OK",
       .container = "Frame1"},
      {.name = "Text1",
       .kind = ControlKind::TextBox,
       .left = 120,
       .top = 600,
       .width = 1500,
       .height = 285,
       .container = "Frame1"},
  };
  FormDesign design = kDesign;
  design.keyPreview = true;
  RecordingHost host;
  VirtualEventLoop loop;
  QtWindowSystem windows;
  KeyCountingForm form(host, loop, design, controls);
  form.attachView(windows.CreateView(form));
  form.Show();
  auto& view = dynamic_cast<QtFormView&>(*form.view());
  QWidget& button = *view.widget(form.control("Command1"));
  auto& edit = dynamic_cast<QLineEdit&>(*view.widget(form.control("Text1")));

  // The button ignores a letter, which then travels up through the frame to the window.
  QTest::keyClick(&button, Qt::Key_A);
  QTest::keyClick(&button, Qt::Key_Shift);  // no character, no key press for the form
  // The text box still gets the key after the form has seen it.
  QTest::keyClick(&edit, Qt::Key_B);
  EXPECT_EQ(form.keys, (std::vector<int>{'a', 'b'}));
  EXPECT_EQ(edit.text(), "b");
  form.attachView(nullptr);
  ProcessQtEvents();
}

}  // namespace
}  // namespace volumetra
