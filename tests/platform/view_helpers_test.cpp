// What both window backends share: the user's input echoed after the model decides, the view's
// guards, twips to pixels and the designed fonts' faces.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/font_faces.h"
#include "platform/form.h"
#include "platform/input_echo.h"
#include "platform/twips_scale.h"
#include "platform/view_guards.h"
#include "support/headless/virtual_event_loop.h"

namespace volumetra {
namespace {

class NoHost : public FormHost {
 public:
  void CloseRequested(Form&) override {}
  Form* ActiveForm() override { return nullptr; }
  void SetActiveForm(Form*) override {}
};

const ControlDesign kControls[] = {
    {.name = "Check1", .kind = ControlKind::CheckBox},
    {.name = "Text1", .kind = ControlKind::TextBox, .caption = "a"},
    {.name = "Slider1", .kind = ControlKind::Slider, .min = 0, .max = 10},
};

// A view's side: what it showed again, and whether it still stands.
struct EchoTest : ::testing::Test {
  VirtualEventLoop loop;
  NoHost host;
  Form form{host, loop, FormDesign{.name = "F"}, kControls, {}};
  std::optional<ViewGuards> guards{std::in_place};
  std::vector<std::string> shown;
  InputEcho echo{
      *guards,
      {[this](const Control& c) { shown.push_back(c.name() + " value " + std::to_string(c.value())); },
       [this](const Control& c) { shown.push_back(c.name() + " text " + c.text()); }}};
};

TEST_F(EchoTest, AClickIsShownAsTheModelLeftIt) {
  Control& check = form.control("Check1");
  echo.click(check);
  EXPECT_EQ(check.value(), kChecked);
  // A handler that puts the box back: the box shows the model's answer, not the click.
  check.onClick = [&check] { check.setValue(kUnchecked); };
  echo.click(check);
  EXPECT_EQ(check.value(), kUnchecked);
  EXPECT_EQ(shown, (std::vector<std::string>{"Check1 value 1", "Check1 value 0"}));
}

TEST_F(EchoTest, ATypedTextIsShownAgainOnlyWhenTheModelChangedIt) {
  Control& text = form.control("Text1");
  echo.type(text, "ab");
  EXPECT_TRUE(shown.empty());
  text.onChange = [&text] {
    if (text.text().size() > 2) text.setText(text.text().substr(0, 2));
  };
  echo.type(text, "abc");
  EXPECT_EQ(shown, (std::vector<std::string>{"Text1 text ab"}));
}

TEST_F(EchoTest, ScrollAndTabsAreShownAsTheModelHoldsThem) {
  Control& slider = form.control("Slider1");
  slider.onScroll = [&slider] {
    if (slider.value() > 5) slider.setValue(5);
  };
  echo.scroll(slider, 8);
  echo.selectTab(slider, 3);
  EXPECT_EQ(shown, (std::vector<std::string>{"Slider1 value 5", "Slider1 value 3"}));
}

TEST_F(EchoTest, NothingIsShownByAViewThatWentWithTheModelsAnswer) {
  Control& check = form.control("Check1");
  check.onClick = [this] { guards->end(); };
  echo.click(check);
  EXPECT_TRUE(shown.empty());
}

TEST(ViewGuards, WritesOfTheViewAreMarkedAndNested) {
  ViewGuards guards;
  std::vector<bool> seen;
  guards.apply([&] {
    seen.push_back(guards.applying());
    guards.apply([&] { seen.push_back(guards.applying()); });
    seen.push_back(guards.applying());
  });
  seen.push_back(guards.applying());
  EXPECT_EQ(seen, (std::vector<bool>{true, true, true, false}));
}

TEST(ViewGuards, AStateChangeIsMarkedWhileTheModelHasIt) {
  ViewGuards guards;
  bool during = false;
  EXPECT_TRUE(guards.handStateChange([&] { during = guards.inStateChange(); }));
  EXPECT_TRUE(during);
  EXPECT_FALSE(guards.inStateChange());
}

TEST(ViewGuards, AViewThatEndsInsideACallIsSeenGone) {
  auto guards = std::make_unique<ViewGuards>();
  const std::weak_ptr<int> lifetime = guards->lifetime();
  EXPECT_TRUE(guards->survives([] {}));
  EXPECT_FALSE(guards->survives([&] { guards->end(); }));
  EXPECT_TRUE(lifetime.expired());
}

TEST(TwipsScale, TwipsBecomePixelsAtTheScreensDpi) {
  const TwipsScale at96(96);
  EXPECT_EQ(at96.toPixels(1440), 96);
  EXPECT_EQ(at96.toPixels(240), 16);
  EXPECT_EQ(at96.toTwips(16), 240);
  const TwipsScale at144(144);
  EXPECT_EQ(at144.toPixels(1440), 144);
  EXPECT_EQ(at144.toTwips(3), 30);
}

TEST(TwipsScale, NeighboursThatTouchInTwipsTouchInPixels) {
  const TwipsScale scale(120);
  // 100 twips at 120 DPI is 8.33 pixels: widths rounded alone would leave gaps or overlaps.
  for (int i = 0; i < 10; ++i) {
    const PixelEdges left = scale.toPixels(100.f * static_cast<float>(i), 0, 100, 100);
    const PixelEdges right = scale.toPixels(100.f * static_cast<float>(i + 1), 0, 100, 100);
    EXPECT_EQ(left.right, right.left) << i;
  }
  const PixelEdges empty = scale.toPixels(50, 50, -20, 0);
  EXPECT_EQ(empty.width(), 0);
  EXPECT_EQ(empty.height(), 0);
}

TEST(InstalledFace, TheFirstInstalledFaceStandsForTheDesignedOne) {
  const std::set<std::string> wine{"Liberation Sans", "Arial"};
  const auto onWine = [&wine](const std::string& face) { return wine.contains(face); };
  EXPECT_EQ(InstalledFace("MS Sans Serif", FaceSystem::Windows, onWine), "Liberation Sans");
  EXPECT_EQ(InstalledFace("MS Sans Serif", FaceSystem::Linux, onWine), "Liberation Sans");
  const std::set<std::string> windows{"Microsoft Sans Serif", "Arial"};
  const auto onWindows = [&windows](const std::string& face) { return windows.contains(face); };
  EXPECT_EQ(InstalledFace("MS Sans Serif", FaceSystem::Windows, onWindows), "Microsoft Sans Serif");
  EXPECT_EQ(InstalledFace("Arial", FaceSystem::Windows, onWindows), "Arial");
  const auto dejaVuOnly = [](const std::string& face) { return face == "DejaVu Sans"; };
  EXPECT_EQ(InstalledFace("Arial", FaceSystem::Linux, dejaVuOnly), "DejaVu Sans");
}

TEST(InstalledFace, AFaceWithoutStandInsOrNoneInstalledIsAskedForAsDesigned) {
  const auto nothing = [](const std::string&) { return false; };
  EXPECT_EQ(InstalledFace("Courier New", FaceSystem::Linux, [](const std::string&) { return true; }),
            "Courier New");
  EXPECT_EQ(InstalledFace("MS Sans Serif", FaceSystem::Windows, nothing), "MS Sans Serif");
}

}  // namespace
}  // namespace volumetra
