#include "app/apply_language.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/form1_design.h"
#include "support/fake_machine.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

constexpr const char* kNordicLineOther =
    "Vol Name    Type     Total (KB)      Free (Bytes)   Used (Bytes) N-Len    Serial No.";
constexpr const char* kNordicLine1000 =
    "Vol Name    Type     Total (MB)      Free (KB)       Used (KB)      N-Len    Serial No.";

struct ApplyLanguageTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;

  /// Starts the program with `language` stored in the settings file.
  void startIn(const std::string& language) {
    std::ofstream(machine.iniPath()) << "[System]\nLanguage=" << language << "\n";
    machine.start();
    ASSERT_EQ(p.m.Language, language) << "the settings file was not loaded";
  }
  /// Every caption and tool tip of the three windows.
  std::vector<std::string> allTexts() {
    std::vector<std::string> texts;
    for (Form* form : std::initializer_list<Form*>{&p.form1(), &p.form2(), &p.form3()}) {
      for (const auto& c : form->controls()) {
        texts.push_back(c->caption());
        texts.push_back(c->toolTip());
      }
    }
    return texts;
  }
  void expectDesignedToolTips() {
    for (const ControlDesign& d : Form1Controls()) {
      EXPECT_EQ(p.form1().control(d.name, d.index).toolTip(), d.toolTip) << d.name << "(" << d.index << ")";
    }
  }
  std::vector<std::string> headerCells() {
    Form1& main = p.form1();
    std::vector<std::string> captions;
    for (Control* c : {&main.Label10, &main.Label11, &main.Label12, &main.Label13, &main.Label14,
                       &main.Label15, &main.Label16}) {
      captions.push_back(c->caption());
    }
    return captions;
  }
};

TEST_F(ApplyLanguageTest, EnglishFillsTheWindowsAndTheUnitToggleSwitchesTheSizeHeaders) {
  machine.start();
  Form1& main = p.form1();
  const std::vector<std::string> byteUnits{"Name",         "Type",  "Total (KB)", "Free (Bytes)",
                                           "Used (Bytes)", "N-Len", "Serial No."};
  EXPECT_EQ(headerCells(), byteUnits);
  EXPECT_EQ(main.Label1.caption(), "Vol");
  EXPECT_EQ(main.Label3[0]->toolTip(), "name of the volume");
  EXPECT_EQ(main.Label3[1]->toolTip(), "volume name");  // only element 0 is named
  EXPECT_EQ(p.form2().Label26.caption(), "  Free");
  EXPECT_EQ(p.form3().Check8.caption(), "slider value main window");
  main.Label12.Click();
  EXPECT_EQ(headerCells(), (std::vector<std::string>{"Name", "Type", "Total (MB)", "Free (KB)", "Used (KB)",
                                                     "N-Len", "Serial No."}));
  EXPECT_EQ(main.Label1.caption(), "Vol");
  main.Label12.Click();
  EXPECT_EQ(headerCells(), byteUnits);
}

TEST_F(ApplyLanguageTest, NameThatMatchesNoTableChangesNothing) {
  machine.start();
  p.m.UnitFactor = 1000;  // English would now rewrite the size headers
  const std::vector<std::string> before = allTexts();
  for (const char* language : {"english", "DEUTSCH", "Deutsch ", "", "Klingon"}) {
    p.m.Language = language;
    ApplyLanguage(p);
    EXPECT_EQ(allTexts(), before) << '"' << language << '"';
  }
}

TEST_F(ApplyLanguageTest, SuomiAtStartLeavesTheDesignedTexts) {
  startIn("Suomi");
  Form1& main = p.form1();
  EXPECT_EQ(main.Label1.caption(), kNordicLineOther);
  EXPECT_EQ(headerCells(), (std::vector<std::string>{"Label10", "Label11", "Label12", "Label13", "Label14",
                                                     "Label15", "Label16"}));
  expectDesignedToolTips();
  EXPECT_EQ(p.form3().Check1.caption(), "Enable logging");
  EXPECT_EQ(p.form3().Check8.caption(), "Slider value main window");
  EXPECT_EQ(p.form2().Label26.caption(), "Free");
}

TEST_F(ApplyLanguageTest, UnitToggleInAShortTableLanguageChangesOnlyTheHeaderLine) {
  startIn("Suomi");
  Form1& main = p.form1();
  const std::vector<std::string> before = allTexts();
  main.Label12.Click();
  EXPECT_EQ(main.Label1.caption(), kNordicLine1000);
  main.Label1.setCaption(kNordicLineOther);
  EXPECT_EQ(allTexts(), before);  // nothing but Label1 had changed
}

TEST_F(ApplyLanguageTest, DeutschThenDutchKeepsTheDeutschTextsDutchDoesNotName) {
  machine.start();
  Form1& main = p.form1();
  main.Label12.Click();  // units MB and KB
  p.form3().Option6.Click();
  EXPECT_EQ(main.Label1.caption(),
            "Vol Name     Typ      Total (MB)      Frei (KB)       Belegt (KB)     N-Len    Serien-Nr.");
  EXPECT_EQ(main.Command3.caption(), "Über");
  EXPECT_EQ(p.form2().Label26.caption(), "  Frei");
  EXPECT_EQ(p.form3().Check3.caption(), "Farb-Alarm-Information bei niedriger Fesplattenkapazität");
  EXPECT_EQ(p.form3().Label6.caption(), "Verzeichnis für Logdatei");
  EXPECT_EQ(main.Label3[0]->toolTip(), "name of the volume");  // Deutsch sets no tool tip

  p.form3().Option7.setValue(1);  // Dutch, as from the settings file; its button is disabled
  ASSERT_EQ(p.m.Language, "Dutch");
  EXPECT_EQ(main.Label1.caption(),
            "Vol Naam    Type     Total (MB)      Vrije (KB)       Used (KB)      N-Len    Serial No.");
  EXPECT_EQ(main.Label11.caption(), "Typ");
  EXPECT_EQ(main.Label13.caption(), "Frei (KB)");
  EXPECT_EQ(main.Label14.caption(), "Belegt (KB)");
  EXPECT_EQ(p.form3().Check1.caption(), "Dateiprotokollierung");
  EXPECT_EQ(p.form3().Label1.caption(), "Wert");
  EXPECT_EQ(main.Label131.caption(), "Vrije");
  EXPECT_EQ(main.Label52.caption(), "Used");
  EXPECT_EQ(main.Command3.caption(), "About");
  EXPECT_EQ(main.Command4.caption(), "Options");
  EXPECT_EQ(main.Command5.caption(), "Next");
  EXPECT_EQ(p.form2().Label26.caption(), "Vrije");
  EXPECT_EQ(p.form2().Label27.caption(), "Total");
}

TEST_F(ApplyLanguageTest, DeutschAtStartShowsTheDesignedToolTipsAndItsHeaderLine) {
  startIn("Deutsch");
  Form1& main = p.form1();
  expectDesignedToolTips();
  EXPECT_EQ(main.Label1.caption(),
            "Vol Name     Typ      Total (KB)      Frei (Bytes)   Belegt (Bytes) N-Len    Serien-Nr.");
  EXPECT_EQ(headerCells(), (std::vector<std::string>{"Name", "Typ", "Total (KB)", "Frei (Bytes)",
                                                     "Belegt (Bytes)", "N-Len", "Serial No."}));
  EXPECT_EQ(p.form3().Option6.value(), 0);  // the dialog selects its button when it opens
  main.Command4.Click();
  EXPECT_EQ(p.form3().Option6.value(), 1);
}

TEST_F(ApplyLanguageTest, ClosedOptionsDialogIsCreatedHiddenForItsCaptions) {
  machine.start();
  p.form3().UserClose();
  ASSERT_EQ(p.loadedForm3(), nullptr);
  p.form1().Label12.Click();
  ASSERT_NE(p.loadedForm3(), nullptr);
  EXPECT_FALSE(p.loadedForm3()->visible());
  EXPECT_EQ(p.loadedForm3()->Check1.caption(), "enable logging to file");
}

}  // namespace
}  // namespace volumetra
