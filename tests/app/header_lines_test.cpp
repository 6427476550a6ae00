#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/apply_language.h"
#include "app/form1.h"
#include "app/form1_design.h"
#include "support/fake_machine.h"

namespace volumetra {
namespace {

/// A header line as given: its length and the 1-based column at which each of its eight titles
/// begins. Between the titles stand only blanks; the last title ends the line.
struct HeaderLine {
  std::vector<const char*> languages;
  int unitFactor;
  std::size_t length;
  std::array<std::size_t, 8> columns;
  std::array<const char*, 8> titles;
};

const HeaderLine kHeaderLines[] = {
    {{"Deutsch"},
     1000,
     89,
     {1, 5, 14, 23, 39, 55, 71, 80},
     {"Vol", "Name", "Typ", "Total (MB)", "Frei (KB)", "Belegt (KB)", "N-Len", "Serien-Nr."}},
    {{"Deutsch"},
     1000000,
     87,
     {1, 5, 14, 23, 39, 54, 69, 78},
     {"Vol", "Name", "Typ", "Total (KB)", "Frei (Bytes)", "Belegt (Bytes)", "N-Len", "Serien-Nr."}},
    {{"Dutch"},
     1000,
     88,
     {1, 5, 13, 22, 38, 55, 70, 79},
     {"Vol", "Naam", "Type", "Total (MB)", "Vrije (KB)", "Used (KB)", "N-Len", "Serial No."}},
    {{"Dutch"},
     1000000,
     85,
     {1, 5, 13, 22, 38, 54, 67, 76},
     {"Vol", "Naam", "Type", "Total (KB)", "Vrije (Bytes)", "Used (Bytes)", "N-Len", "Serial-No."}},
    {{"Francais"},
     1000,
     87,
     {1, 5, 14, 23, 39, 57, 69, 78},
     {"Vol", "Nom", "Type", "Total (MB)", "Libre (KB)", "Occupe (KB)", "N-Len", "Serial-No."}},
    {{"Francais"},
     1000000,
     88,
     {1, 5, 14, 23, 39, 55, 70, 79},
     {"Vol", "Nom", "Type", "Total (KB)", "Libre (Bytes)", "Occupe (Bytes)", "N-Len", "Serial-No."}},
    {{"Dansk", "Suomi", "Italiano"},
     1000,
     87,
     {1, 5, 13, 22, 38, 54, 69, 78},
     {"Vol", "Name", "Type", "Total (MB)", "Free (KB)", "Used (KB)", "N-Len", "Serial No."}},
    {{"Dansk", "Suomi", "Italiano"},
     1000000,
     84,
     {1, 5, 13, 22, 38, 53, 66, 75},
     {"Vol", "Name", "Type", "Total (KB)", "Free (Bytes)", "Used (Bytes)", "N-Len", "Serial No."}},
    {{"Espanol"},
     1000,
     87,
     {1, 5, 14, 23, 39, 56, 69, 78},
     {"Vol", "Nom", "Type", "Total (MB)", "Libre (KB)", "Ocupado (KB)", "N-Len", "Serial-No."}},
    {{"Espanol"},
     1000000,
     89,
     {1, 5, 14, 23, 39, 55, 71, 80},
     {"Vol", "Nom", "Type", "Total (KB)", "Libre (Bytes)", "Ocupado (Bytes)", "N-Len", "Serial-No."}},
};

void ExpectLayout(const std::string& line, const HeaderLine& expected) {
  ASSERT_EQ(line.size(), expected.length);
  std::size_t end = 0;  // where the previous title ended
  for (std::size_t i = 0; i < expected.titles.size(); ++i) {
    const std::string title = expected.titles[i];
    const std::size_t start = expected.columns[i] - 1;
    ASSERT_GE(start, end) << title;
    EXPECT_EQ(line.find_first_not_of(' ', end), start) << "only blanks before " << title;
    EXPECT_EQ(line.substr(start, title.size()), title);
    end = start + title.size();
  }
  EXPECT_EQ(end, line.size()) << "the last title ends the line";
}

TEST(HeaderLinesTest, TitlesStandAtTheirColumns) {
  FakeMachine machine;
  Program& p = machine.start();
  for (const HeaderLine& expected : kHeaderLines) {
    for (const char* language : expected.languages) {
      SCOPED_TRACE(std::string(language) + " unit " + std::to_string(expected.unitFactor));
      p.m.Language = language;
      p.m.UnitFactor = expected.unitFactor;
      ApplyLanguage(p);
      ExpectLayout(p.form1().Label1.caption(), expected);
    }
  }
}

TEST(HeaderLinesTest, NordicAndItalianLineInByteUnitsIsTheDesignedCaption) {
  FakeMachine machine;
  Program& p = machine.start();
  p.m.Language = "Dansk";
  p.m.UnitFactor = 1000000;
  ApplyLanguage(p);
  const auto controls = Form1Controls();
  const auto label1 = std::find_if(controls.begin(), controls.end(),
                                   [](const ControlDesign& d) { return d.name == std::string("Label1"); });
  ASSERT_NE(label1, controls.end());
  EXPECT_EQ(p.form1().Label1.caption(), label1->caption);
}

}  // namespace
}  // namespace volumetra
