#include "windows/form2_design.h"

#include <vector>

namespace volumetra {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kSilver{192, 192, 192};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
const FontSpec kSans975{"MS Sans Serif", 9.75f, false};

struct ScaleLabel {
  const char* name;
  float left;
  float width;
  float height;
  const char* caption;
  Alignment alignment;
};

const ScaleLabel kScaleRow[] = {
    {"Label28", 240, 1335, 390, "0 MB", Alignment::Left},
    {"Label29", 1560, 1095, 390, "500 MB", Alignment::Right},
    {"Label30", 2640, 1815, 390, "1000 MB", Alignment::Right},
    {"Label31", 4440, 3975, 900, "", Alignment::Right},
    {"Label2", 8400, 3495, 900, "", Alignment::Left},
};

std::vector<ControlDesign> BuildControls() {
  std::vector<ControlDesign> controls;
  // Per row the total bar is made before the free bar, so the free bar lies in front of it.
  for (int i = 0; i < 25; ++i) {
    const float top = 240.f * static_cast<float>(i);
    controls.push_back({.name = "Label1",
                        .index = i,
                        .left = 0,
                        .top = top,
                        .width = 255,
                        .height = 255,
                        .caption = "",
                        .foreColor = kGreen,
                        .backColor = kBlack,
                        .font = kSans975,
                        .visible = false});
    controls.push_back({.name = "Shape1",
                        .index = i,
                        .kind = ControlKind::Shape,
                        .left = 240,
                        .top = top,
                        .width = 2175,
                        .height = 255,
                        .backColor = kBlue,
                        .visible = false});
    controls.push_back({.name = "Shape2",
                        .index = i,
                        .kind = ControlKind::Shape,
                        .left = 240,
                        .top = top,
                        .width = 1215,
                        .height = 255,
                        .backColor = kGreen,
                        .visible = false});
  }
  for (const ScaleLabel& s : kScaleRow) {
    controls.push_back({.name = s.name,
                        .left = s.left,
                        .top = 6000,
                        .width = s.width,
                        .height = s.height,
                        .caption = s.caption,
                        .foreColor = kSilver,
                        .backColor = kBlack,
                        .font = kSans975,
                        .alignment = s.alignment});
  }
  controls.push_back({.name = "Slider1",
                      .kind = ControlKind::Slider,
                      .left = 0,
                      .top = 6360,
                      .width = 2055,
                      .height = 510,
                      .min = 0,
                      .max = 10000,
                      .smallChange = 1,
                      .largeChange = 5});
  // The legend squares come after their captions, so they lie in front of them. The two captions
  // are drawn at one size.
  controls.push_back({.name = "Label26",
                      .left = 2040,
                      .top = 6360,
                      .width = 1095,
                      .height = 510,
                      .caption = "Free",
                      .foreColor = kSilver,
                      .backColor = kBlack,
                      .font = kSans975,
                      .sizeGroup = "legend"});
  controls.push_back({.name = "Shape51",
                      .kind = ControlKind::Shape,
                      .left = 2640,
                      .top = 6360,
                      .width = 255,
                      .height = 255,
                      .backColor = kGreen});
  controls.push_back({.name = "Label27",
                      .left = 3120,
                      .top = 6360,
                      .width = 1455,
                      .height = 510,
                      .caption = "Total",
                      .foreColor = kSilver,
                      .backColor = kBlack,
                      .font = kSans975,
                      .sizeGroup = "legend"});
  controls.push_back({.name = "Shape52",
                      .kind = ControlKind::Shape,
                      .left = 3720,
                      .top = 6360,
                      .width = 255,
                      .height = 255,
                      .backColor = kBlue});
  controls.push_back({.name = "Command1",
                      .kind = ControlKind::CommandButton,
                      .left = 4680,
                      .top = 6360,
                      .width = 615,
                      .height = 255,
                      .caption = "Next"});
  return controls;
}

}  // namespace

const FormDesign& Form2Design() {
  static const FormDesign design{.name = "Form2",
                                 .caption = "Graphical-View",
                                 .width = 5385 + kFrameWidthTwips,
                                 .height = 7425 + kFrameHeightTwips,
                                 .clientWidth = 5385,
                                 .clientHeight = 7425,
                                 .backColor = kBlack,
                                 .font = {"MS Sans Serif", 8.25f, false}};
  return design;
}

std::span<const ControlDesign> Form2Controls() {
  static const std::vector<ControlDesign> controls = BuildControls();
  return controls;
}

}  // namespace volumetra
