// The graph window's scale for drives of every size: where the first load and the "Free" legend put
// the largest free bar, and that bars and scale captions tell the same MB at every slider position.
#include <gtest/gtest.h>

#include <string>

#include "app/report_on_forms.h"
#include "platform/form_design.h"
#include "report/bar_width.h"
#include "support/fake_machine.h"
#include "windows/form2.h"

namespace volumetra {
namespace {

constexpr double kMB = 1048576;
constexpr double kGB = 1e9 / kMB, kTB = 1e12 / kMB, kTiB = 1048576, kPB = 1e15 / kMB;

struct LargestFree {
  const char* name;
  double freeMB;
  int sliderValue;  // where the load and the "Free" legend put the slider
  double divisor;
  float barTwips;     // the largest free bar after the next survey
  bool insideWindow;  // that bar ends inside the window at its first width
};

// Up to 409 999 MB the slider value is the designed 4100 / (MB / 100): 4768 twips for 100 GB, twice
// the aim at the edge. From 410 000 MB on the scale is divided and the bar is about 4100 twips.
const LargestFree kLargestFree[] = {
    {"100 GB", 100 * kGB, 4, 1, 4768, true},      {"409 999 MB", 409999, 1, 1, 8200, false},
    {"410 000 MB", 410000, 100, 100, 4141, true}, {"800 GB", 800 * kGB, 537, 1000, 4105, true},
    {"2 TB", 2 * kTB, 215, 1000, 4120, true},     {"20 TiB", 20 * kTiB, 196, 10000, 4131, true},
    {"1 PB", 1 * kPB, 430, 1000000, 4110, true},
};

/// A machine whose drive C has `largestFreeMB` free of a quarter more, and a small drive D.
void AddDrives(FakeMachine& machine, double largestFreeMB) {
  machine.volumes.add('C', largestFreeMB * 1.25, largestFreeMB);
  machine.volumes.add('D', 20000, 5000);
}

TEST(GraphScale, LoadAndFreeLegendGiveTheLargestFreeSpaceItsBar) {
  for (const LargestFree& c : kLargestFree) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    AddDrives(machine, c.freeMB);
    Program& p = machine.start();
    Form2& g = p.form2();
    EXPECT_EQ(g.Slider1.value(), c.sliderValue);
    EXPECT_EQ(p.m.GraphMax, c.sliderValue);
    EXPECT_EQ(p.m.GraphDivisor, c.divisor);
    machine.advance(500);  // the first survey
    EXPECT_EQ(g.Shape2[0]->width(), c.barTwips);
    EXPECT_NEAR(g.Shape1[0]->width(), c.barTwips * 1.25, 1) << "the total bar, on the same scale";
    EXPECT_EQ(g.Shape2[0]->left() + c.barTwips <= g.width() - kFrameWidthTwips, c.insideWindow);

    g.Slider1.Scroll(0);
    machine.advance(501);
    EXPECT_LT(g.Shape2[0]->width(), c.barTwips);
    g.Label26.Click();
    EXPECT_EQ(g.Slider1.value(), c.sliderValue);
    EXPECT_EQ(p.m.GraphDivisor, c.divisor);
    machine.advance(501);
    EXPECT_EQ(g.Shape2[0]->width(), c.barTwips);
  }
}

TEST(GraphScale, FreeLegendTakesTheScaleOfADriveFoundSinceTheLoad) {
  FakeMachine machine;
  AddDrives(machine, 20 * kTiB);
  Program& p = machine.start();
  Form2& g = p.form2();
  EXPECT_EQ(p.m.GraphDivisor, 10000);
  machine.volumes.add('E', 1.1 * kPB, 1 * kPB);
  machine.advance(10000);  // the drives are looked for again
  ASSERT_EQ(p.m.DriveLetters, "CDE");
  EXPECT_GT(g.Shape2[2]->width(), g.width()) << "the petabyte runs out of the window on the old scale";
  g.Label26.Click();
  machine.advance(501);
  EXPECT_EQ(p.m.GraphDivisor, 1000000);
  EXPECT_EQ(g.Shape2[2]->width(), 4110);
  EXPECT_EQ(g.Shape2[0]->width(), 90) << "20 TiB, a fiftieth of the petabyte";
}

/// The MB value a scale caption names: " 3360 MB" gives 3360.
double CaptionMB(const std::string& caption) {
  EXPECT_EQ(caption.front(), ' ') << caption;
  EXPECT_EQ(caption.substr(caption.size() - 3), " MB") << caption;
  return std::stod(caption.substr(1, caption.size() - 4));
}

// A caption names the MB value at its mark, cut to a whole number: a bar of that many MB ends at
// the mark or before it, one of a MB more at the mark or beyond (each to half a twip of rounding).
// A bar cut at the widest width the graph draws stands for any length from there on.
bool NamesTheMarkOf(double captionMB, double markTwips, double driveMB, float drawnTwips) {
  const double longest = driveMB * markTwips / captionMB + 0.5;
  if (drawnTwips == kMaxBarWidth) return longest >= kMaxBarWidth;
  return drawnTwips >= driveMB * markTwips / (captionMB + 1) - 0.5 && drawnTwips <= longest;
}

TEST(GraphScale, BarsAndCaptionsTellTheSameMBAtEverySliderPosition) {
  const double marks[] = {8400, 4200, 2100};
  for (const LargestFree& c : kLargestFree) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    AddDrives(machine, c.freeMB);
    Program& program = machine.start();
    Form2& g = program.form2();
    ASSERT_TRUE(program.m.ShowGraph);
    const DriveRec& d = program.m.DriveRecs[1];
    float previous = 0;
    for (int value = 0; value <= g.Slider1.max(); ++value) {
      g.Slider1.Scroll(value);
      ReportOnForms(program);
      const float freeBar = g.Shape2[0]->width(), totalBar = g.Shape1[0]->width();
      const Control* captions[] = {&g.Label31, &g.Label30, &g.Label29};
      bool agree = freeBar >= previous && freeBar > 0;
      for (int k = 0; k < 3; ++k) {
        const double mb = CaptionMB(captions[k]->caption());
        agree = agree && NamesTheMarkOf(mb, marks[k], d.FreeMB, freeBar) &&
                NamesTheMarkOf(mb, marks[k], d.TotalGB * 1000, totalBar);
      }
      if (!agree) {
        ADD_FAILURE() << "slider " << value << ": bars " << freeBar << " and " << totalBar << " twips for "
                      << d.FreeMB << " and " << d.TotalGB * 1000 << " MB, captions " << g.Label31.caption()
                      << g.Label30.caption() << g.Label29.caption();
        break;
      }
      previous = freeBar;
    }
  }
}

}  // namespace
}  // namespace volumetra
