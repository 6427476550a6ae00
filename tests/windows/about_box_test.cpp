#include <gtest/gtest.h>

#include "app/form1.h"
#include "support/fake_machine.h"
#include "windows/frm_splash.h"

namespace volumetra {
namespace {

struct AboutBoxTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
  FrmSplash& open() {
    machine.start();
    p.form1().Command3.Click();
    return p.frmSplash();
  }
};

TEST_F(AboutBoxTest, OpensCentredWithOneInstanceAndItsTexts) {
  FrmSplash& s = open();
  EXPECT_TRUE(s.visible());
  EXPECT_EQ(s.left(), (1920 * 15 - s.width()) / 2);
  EXPECT_EQ(s.control("Label1").caption(), "Volumetra");
  EXPECT_EQ(s.control("lblVersion").caption(), "Version 0.95");
  EXPECT_EQ(s.control("lblPlatform").caption(), "Headless");  // the platform the services name
  EXPECT_FALSE(s.lblProductName.visible());
  p.form1().Command3.Click();
  EXPECT_EQ(&p.frmSplash(), &s);
}

TEST_F(AboutBoxTest, ClosesOnOkFrameOrKeyButNotOnALabelOrTheLogo) {
  const auto closedBy = [&](auto action) {
    FrmSplash& s = open();
    action(s);
    return p.loadedFrmSplash() == nullptr;
  };
  EXPECT_TRUE(closedBy([](FrmSplash& s) { s.Command1.Click(); }));
  EXPECT_TRUE(closedBy([](FrmSplash& s) { s.Frame1.Click(); }));
  EXPECT_TRUE(closedBy([](FrmSplash& s) { s.UserKeyPress('x'); }));
  EXPECT_FALSE(closedBy([](FrmSplash& s) { s.control("Label1").Click(); }));
  EXPECT_FALSE(closedBy([](FrmSplash& s) { s.control("imgLogo").Click(); }));
}

TEST_F(AboutBoxTest, NextOpeningCreatesTheBoxAnew) {
  FrmSplash& first = open();
  first.Command1.Click();
  machine.advance(600);  // unloaded forms are freed at the next housekeeping tick
  p.form1().Command3.Click();
  ASSERT_NE(p.loadedFrmSplash(), nullptr);
  EXPECT_TRUE(p.frmSplash().visible());
}

}  // namespace
}  // namespace volumetra
