#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "app/form1.h"
#include "support/fake_machine.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

struct Form3DialogTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
  void SetUp() override { machine.start(); }
  /// Activates the main window, then opens the dialog with the Options button.
  Form3& open() {
    p.form1().Activate();
    p.form1().Command4.Click();
    return *p.loadedForm3();
  }
};

TEST_F(Form3DialogTest, ControlsSitOnTheFourPagesInOneTabOrderWithMiscShown) {
  Form3& options = p.form3();
  EXPECT_EQ(options.SSTab1.tabCaptions().at(options.SSTab1.value()), "Misc.");
  std::set<int> orders;
  for (const auto& c : options.controls()) {
    orders.insert(c->tabIndex());
    if (c.get() == &options.SSTab1) continue;
    EXPECT_EQ(c->container(), &options.SSTab1) << c->name();
    EXPECT_TRUE(c->tabPage() >= 0 && c->tabPage() <= 3) << c->name();
  }
  EXPECT_EQ(orders.size(), options.controls().size());  // no order given twice
  EXPECT_EQ(*orders.rbegin(), 25);
}

TEST_F(Form3DialogTest, LanguageButtonsStoreTheirNamesButOnlyTwoAreEnabled) {
  Form3& options = p.form3();
  const std::pair<Control*, const char*> buttons[] = {
      {&options.Option6, "Deutsch"}, {&options.Option7, "Dutch"},   {&options.Option8, "Francais"},
      {&options.Option9, "Dansk"},   {&options.Option10, "Suomi"},  {&options.Option11, "Italiano"},
      {&options.Option1, "Espanol"}, {&options.Option5, "English"},
  };
  for (const auto& [button, language] : buttons) {
    const bool choosable = button == &options.Option5 || button == &options.Option6;
    EXPECT_EQ(button->enabled(), choosable) << language;
    button->setValue(1);  // as code selects it
    EXPECT_EQ(p.m.Language, language);
  }
  options.Option6.Click();
  EXPECT_EQ(options.Option5.value(), 0);
  EXPECT_EQ(p.form1().Command4.caption(), "Optionen");  // the language was applied
}

TEST_F(Form3DialogTest, SwitchesEditTheirVariables) {
  Form3& options = p.form3();
  const std::pair<Control*, bool*> switches[] = {
      {&options.Check2, &p.m.LinkGraph},  {&options.Check3, &p.m.AlarmColours},
      {&options.Check4, &p.m.AlarmBeep},  {&options.Check5, &p.m.ColourInfo},
      {&options.Check9, &p.m.ExcludeCDs}, {&options.Check10, &p.m.ExcludeDoubles},
  };
  for (const auto& [box, variable] : switches) {
    box->setValue(kChecked);
    EXPECT_TRUE(*variable) << box->name();
    box->setValue(kGrayed);
    EXPECT_FALSE(*variable) << box->name();
  }
}

TEST_F(Form3DialogTest, ActivationSynchronisesSwitchesDirectoryAndLanguage) {
  p.m.LinkGraph = false;
  p.m.AlarmBeep = true;
  p.m.ExcludeCDs = true;
  p.m.ExcludeDoubles = false;
  p.m.ReportFileDir = "/srv/logs/";
  p.m.Language = "Deutsch";
  Form3& options = open();
  EXPECT_EQ(options.Check2.value(), kUnchecked);
  EXPECT_EQ(options.Check4.value(), kChecked);
  EXPECT_EQ(options.Check9.value(), kChecked);
  EXPECT_EQ(options.Check10.value(), kUnchecked);
  EXPECT_EQ(options.Text1.text(), "/srv/logs/");
  EXPECT_EQ(options.Option6.value(), 1);
  EXPECT_EQ(p.form1().Label11.caption(), "Typ");

  p.m.ReportFileDir = "   ";  // a blank directory leaves the box alone
  open();
  EXPECT_EQ(options.Text1.text(), "/srv/logs/");
}

TEST_F(Form3DialogTest, ActivationSelectsNoButtonForSuomiDanskItalianoOrAnUnknownName) {
  for (const char* language : {"Suomi", "Dansk", "Italiano", "english"}) {
    p.m.Language = language;
    Form3& options = open();
    EXPECT_EQ(options.Option5.value(), 1) << language;
    EXPECT_EQ(p.m.Language, language);
  }
}

TEST_F(Form3DialogTest, CannotStayMaximised) {
  Form3& options = open();
  const float width = options.width();
  options.setWindowState(WindowState::Maximized);
  EXPECT_EQ(options.windowState(), WindowState::Normal);
  EXPECT_EQ(options.width(), width);
}

TEST_F(Form3DialogTest, ClosedDialogReopensInItsDesignedState) {
  Form3& first = open();
  first.Check1.Click();
  first.Check6.Click();
  first.Check3.Click();
  first.Check5.Click();
  first.Text2.Type("5");
  first.Text3.Type("DISK.LOG");
  first.SSTab1.setValue(0);

  first.UserClose();
  EXPECT_EQ(p.loadedForm3(), nullptr);
  EXPECT_EQ(p.form1().Timer4.interval(), 1000);

  Form3& again = open();
  EXPECT_TRUE(again.visible());
  EXPECT_EQ(again.SSTab1.value(), 2);
  EXPECT_EQ(again.Check3.value(), kUnchecked);
  EXPECT_EQ(again.Check5.value(), kChecked);
  EXPECT_EQ(again.Text2.text(), "100");
  EXPECT_EQ(again.Text3.text(), "LOG.TXT");
  EXPECT_EQ(again.Text1.text(), p.m.ReportFileDir);
  // The variables keep what the closed dialog set.
  EXPECT_TRUE(p.m.LoggingOn && p.m.AlarmColours && !p.m.ColourInfo);
  EXPECT_EQ(p.m.AlarmLimit, 5000);
  EXPECT_EQ(p.m.ReportFileName, "DISK.LOG");

  machine.advance(250);  // the first tick brings the logging boxes back in line
  EXPECT_EQ(again.Check1.value(), kChecked);
  EXPECT_EQ(again.Check6.value(), kChecked);
  EXPECT_EQ(again.Check7.value(), kUnchecked);
  EXPECT_EQ(p.form1().Timer4.interval(), 1000);
}

}  // namespace
}  // namespace volumetra
