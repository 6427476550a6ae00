#include <gtest/gtest.h>

#include <map>

#include "platform/form.h"
#include "support/headless/virtual_event_loop.h"

namespace volumetra {
namespace {

class NoHost : public FormHost {
 public:
  void CloseRequested(Form&) override { ++closes; }
  Form* ActiveForm() override { return active; }
  void SetActiveForm(Form* f) override { active = f; }
  Form* active = nullptr;
  int closes = 0;
};

/// Counts what a backend would be told, per property.
class CountingView : public FormView {
 public:
  void FormChanged(FormProperty p) override { ++form[p]; }
  void ControlChanged(Control&, ControlProperty p) override { ++control[p]; }
  void Activate() override {}
  std::map<FormProperty, int> form;
  std::map<ControlProperty, int> control;
};

const ControlDesign kControls[] = {
    {.name = "Frame1", .kind = ControlKind::Frame, .width = 1000, .height = 1000},
    {.name = "Check1", .kind = ControlKind::CheckBox},
    {.name = "Option1", .kind = ControlKind::OptionButton, .value = 1},
    {.name = "Option2", .kind = ControlKind::OptionButton},
    {.name = "Option3", .kind = ControlKind::OptionButton, .container = "Frame1"},
    {.name = "Text1", .kind = ControlKind::TextBox, .caption = "a"},
    {.name = "Slider1", .kind = ControlKind::Slider, .min = 0, .max = 100},
    {.name = "Cell", .index = 0, .top = 240, .caption = "-"},
    {.name = "Cell", .index = 1, .top = 480, .caption = "-"},
};

struct ControlsTest : ::testing::Test {
  VirtualEventLoop loop;
  NoHost host;
  Form form{host, loop, FormDesign{.name = "F"}, kControls, {}};
  CountingView* view = nullptr;
  void SetUp() override {
    auto v = std::make_unique<CountingView>();
    view = v.get();
    form.attachView(std::move(v));
  }
};

TEST_F(ControlsTest, ChangesFromCodeRunTheSameHandlersAsTheUser) {
  int checkClicks = 0, textChanges = 0;
  form.control("Check1").onClick = [&] { ++checkClicks; };
  form.control("Text1").onChange = [&] { ++textChanges; };

  form.control("Check1").setValue(kChecked);
  form.control("Check1").setValue(kChecked);  // no change, no click
  form.control("Check1").Click();             // user click clears it
  EXPECT_EQ(checkClicks, 2);
  EXPECT_EQ(form.control("Check1").value(), kUnchecked);

  form.control("Text1").setText("b");
  form.control("Text1").setText("b");
  EXPECT_EQ(textChanges, 1);

  form.control("Check1").setEnabled(false);
  form.control("Check1").Click();  // a disabled control ignores the user ...
  EXPECT_EQ(checkClicks, 2);
  form.control("Check1").setValue(kGrayed);  // ... but not code
  EXPECT_EQ(checkClicks, 3);
}

TEST_F(ControlsTest, OptionButtonsFormOneGroupPerContainer) {
  int clicks1 = 0, clicks2 = 0;
  form.control("Option1").onClick = [&] { ++clicks1; };
  form.control("Option2").onClick = [&] { ++clicks2; };
  form.control("Option3").setValue(1);  // another container: the form's group stays as it is
  EXPECT_EQ(form.control("Option1").value(), 1);

  form.control("Option2").Click();
  EXPECT_EQ(form.control("Option1").value(), 0);
  EXPECT_EQ(form.control("Option2").value(), 1);
  EXPECT_EQ(form.control("Option3").value(), 1);
  EXPECT_EQ(clicks1, 0);  // a button that loses the selection runs nothing
  EXPECT_EQ(clicks2, 1);
}

TEST_F(ControlsTest, BackendHearsOnlyRealChangesWhileEveryLayoutAssignmentCounts) {
  Control& cell = form.control("Cell", 1);
  const auto before = form.layoutAssignments();
  cell.setTop(480);
  cell.setVisible(true);
  cell.setCaption("-");
  EXPECT_EQ(view->control[ControlProperty::Geometry], 0);
  EXPECT_EQ(view->control[ControlProperty::Visible], 0);
  cell.setCaption("x");
  cell.setCaption("x");
  cell.setTop(720);
  EXPECT_EQ(view->control[ControlProperty::Caption], 1);
  EXPECT_EQ(view->control[ControlProperty::Geometry], 1);
  EXPECT_EQ(form.layoutAssignments() - before, 3u);
}

TEST_F(ControlsTest, ControlArraysAreIndexedFromZeroAndUnknownNamesThrow) {
  const auto cells = form.controlArray("Cell");
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0]->top(), 240);
  EXPECT_EQ(cells[1]->top(), 480);
  EXPECT_THROW(form.control("Nope"), std::out_of_range);
  EXPECT_EQ(form.control("Option3").container(), &form.control("Frame1"));
}

TEST_F(ControlsTest, SliderKeepsItsRangeAndOnlyTheUserScrolls) {
  int scrolls = 0;
  Control& s = form.control("Slider1");
  s.onScroll = [&] { ++scrolls; };
  s.setValue(500);
  EXPECT_EQ(s.value(), 100);
  EXPECT_EQ(scrolls, 0);
  s.Scroll(30);
  EXPECT_EQ(s.value(), 30);
  EXPECT_EQ(scrolls, 1);
}

TEST_F(ControlsTest, SizeAndStateChangesRunResize) {
  struct Resizing : Form {
    using Form::Form;
    void Form_Resize() override { ++resizes; }
    int resizes = 0;
  } f{host, loop, FormDesign{.name = "R", .width = 100, .height = 100}, {}, {}};
  f.setLeft(5);
  f.setWidth(100);
  EXPECT_EQ(f.resizes, 0);
  f.setWidth(200);
  f.setWindowState(WindowState::Minimized);
  f.UserResized(300, 300);
  EXPECT_EQ(f.resizes, 3);
}

TEST(VirtualEventLoop, TimersFireInTimeOrderAndStopAtIntervalZero) {
  VirtualEventLoop loop;
  std::string order;
  Timer fast(loop, "fast", 100);
  Timer slow(loop, "slow", 250);
  fast.onTimer = [&] { order += 'f'; };
  slow.onTimer = [&] { order += 's'; };
  loop.advance(500);
  EXPECT_EQ(order, "ffsfffs");
  fast.setInterval(0);
  loop.advance(500);
  EXPECT_EQ(order, "ffsfffsss");
  EXPECT_EQ(loop.nextDue(fast), -1);
}

TEST(VirtualEventLoop, SlowHandlerDelaysTheNextTickAndMissedTicksCoalesce) {
  VirtualEventLoop loop;
  std::vector<std::int64_t> ticks;
  bool slowOnce = true;
  Timer t(loop, "t", 100);
  t.onTimer = [&] {
    ticks.push_back(loop.now());
    if (slowOnce) {
      slowOnce = false;
      loop.spend(450);  // four and a half intervals pass inside the handler
    }
  };
  loop.advance(800);
  // One tick at 100 that ends at 550, one coalesced tick at once, then the normal pace.
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 550, 650, 750}));
}

TEST(VirtualEventLoop, ChangingTheIntervalInsideTheHandlerRestartsFromTheTick) {
  VirtualEventLoop loop;
  std::vector<std::int64_t> ticks;
  Timer t(loop, "t", 500);
  t.onTimer = [&] {
    ticks.push_back(loop.now());
    t.setInterval(301);
  };
  loop.advance(1200);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{500, 801, 1102}));
}

TEST(VirtualEventLoop, RemovedTimerNeverFiresAgain) {
  VirtualEventLoop loop;
  int fired = 0;
  {
    Timer t(loop, "t", 10);
    t.onTimer = [&] { ++fired; };
    loop.advance(25);
  }
  loop.advance(100);
  EXPECT_EQ(fired, 2);
}

}  // namespace
}  // namespace volumetra
