#include <gtest/gtest.h>

#include <array>

#include "app/form1.h"
#include "support/fake_machine.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

constexpr int kTick = 250;

struct Form3LoggingTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
  Form3* options = nullptr;
  Timer* logTimer = nullptr;

  void SetUp() override {
    machine.start();
    options = &p.form3();
    logTimer = &p.form1().Timer4;
  }
  /// The states of Check6, Check7, Check8.
  std::array<int, 3> intervalBoxes() const {
    return {options->Check6.value(), options->Check7.value(), options->Check8.value()};
  }
};

using Boxes = std::array<int, 3>;

TEST_F(Form3LoggingTest, FirstTickChoosesTheSurveyIntervalAndClearsTheDesignedMinute) {
  ASSERT_FALSE(options->visible());  // the dialog's timer runs while it is hidden
  EXPECT_EQ(logTimer->interval(), 0);
  EXPECT_EQ(intervalBoxes(), (Boxes{kUnchecked, kChecked, kUnchecked}));
  machine.advance(kTick);
  EXPECT_EQ(intervalBoxes(), (Boxes{kUnchecked, kUnchecked, kChecked}));
  EXPECT_EQ(logTimer->interval(), p.form1().Timer1.interval());
  EXPECT_EQ(logTimer->interval(), 500);
}

TEST_F(Form3LoggingTest, IntervalBoxesActAsOneChoiceWithinATick) {
  machine.advance(kTick);
  options->Check1.Click();
  ASSERT_TRUE(p.m.LoggingOn);

  options->Check7.Click();
  EXPECT_EQ(logTimer->interval(), 60000);
  EXPECT_EQ(options->Check8.value(), kChecked);  // until the next tick
  machine.advance(kTick);
  EXPECT_EQ(intervalBoxes(), (Boxes{kUnchecked, kChecked, kUnchecked}));

  options->Check6.Click();
  EXPECT_EQ(logTimer->interval(), 1000);
  machine.advance(kTick);
  EXPECT_EQ(intervalBoxes(), (Boxes{kChecked, kUnchecked, kUnchecked}));
  EXPECT_EQ(logTimer->interval(), 1000);
}

TEST_F(Form3LoggingTest, ACheckedBoxIsClearedForAtMostOneTick) {
  machine.advance(kTick);
  options->Check1.Click();
  options->Check7.Click();
  machine.advance(kTick);

  options->Check7.Click();
  EXPECT_EQ(options->Check7.value(), kUnchecked);
  EXPECT_EQ(logTimer->interval(), 60000);  // clearing chooses nothing
  machine.advance(kTick);
  EXPECT_EQ(intervalBoxes(), (Boxes{kUnchecked, kChecked, kUnchecked}));
  EXPECT_EQ(logTimer->interval(), 60000);
}

TEST_F(Form3LoggingTest, SliderValueOfASecondTurnsIntoEverySecond) {
  Form1& main = p.form1();
  main.Slider1.setValue(999);
  machine.advance(500);  // the survey tick takes the slider's interval
  ASSERT_EQ(main.Timer1.interval(), 1000);
  options->Check1.Click();
  options->Check7.Click();
  machine.advance(kTick);
  ASSERT_EQ(options->Check8.value(), kUnchecked);

  options->Check8.Click();
  EXPECT_EQ(logTimer->interval(), 1000);
  machine.advance(kTick);
  EXPECT_EQ(intervalBoxes(), (Boxes{kChecked, kUnchecked, kUnchecked}));
  EXPECT_EQ(logTimer->interval(), 1000);
}

TEST_F(Form3LoggingTest, DisabledBoxesStillFollowTheInterval) {
  options->Check1.Click();
  options->Check6.Click();
  options->Check1.Click();  // logging off again
  ASSERT_FALSE(options->Check6.enabled());
  machine.advance(kTick);
  EXPECT_EQ(intervalBoxes(), (Boxes{kChecked, kUnchecked, kUnchecked}));

  logTimer->setInterval(60000);
  machine.advance(kTick);
  EXPECT_EQ(intervalBoxes(), (Boxes{kUnchecked, kChecked, kUnchecked}));
  options->Check7.Click();  // a disabled box ignores the user
  EXPECT_EQ(options->Check7.value(), kChecked);
}

TEST_F(Form3LoggingTest, LoggingSwitchFollowsTheStateAndEnablesTheIntervalBoxes) {
  p.m.LoggingOn = true;
  machine.advance(kTick);
  EXPECT_EQ(options->Check1.value(), kChecked);
  for (Control* box : {&options->Check6, &options->Check7, &options->Check8}) EXPECT_TRUE(box->enabled());
  options->Check1.Click();
  EXPECT_FALSE(p.m.LoggingOn);
  for (Control* box : {&options->Check6, &options->Check7, &options->Check8}) EXPECT_FALSE(box->enabled());
}

}  // namespace
}  // namespace volumetra
