#include "app/form1_design.h"

#include <vector>

#include "version.h"

namespace volumetra {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kSilver{192, 192, 192};
const FontSpec kSans975{"MS Sans Serif", 9.75f, false};
const FontSpec kSans825{"MS Sans Serif", 8.25f, false};
const FontSpec kSans975Bold{"MS Sans Serif", 9.75f, true};

struct GridColumn {
  const char* name;
  float left;
  float width;
  Alignment alignment;
  const FontSpec* font;
  Rgb colour;
  const char* toolTip;
};

const GridColumn kGridColumns[] = {
    {"Label2", 0, 255, Alignment::Left, &kSans975, {0, 255, 0}, "volume letter"},
    {"Label3", 360, 975, Alignment::Left, &kSans825, {0, 255, 0}, "volume name"},
    {"Label4",
     1440,
     855,
     Alignment::Left,
     &kSans825,
     {0, 255, 0},
     "volume type: like HD (=harddisk), CD (=cdrom), Net (=network)"},
    {"Label5", 2400, 1215, Alignment::Right, &kSans975, {0, 192, 192}, "total amount of memory"},
    {"Label6", 3720, 1335, Alignment::Right, &kSans975, {0, 255, 0}, "free memory"},
    {"Label7", 5160, 1335, Alignment::Right, &kSans975, {255, 128, 0}, "used memory"},
    {"Label8", 6600, 615, Alignment::Right, &kSans975, {192, 192, 255}, "supported name lenght"},
    {"Label9", 7320, 1095, Alignment::Left, &kSans975, {192, 192, 255}, "serial number of device"},
};

struct HeaderCell {
  const char* name;
  float left;
  float width;
  const char* caption;
};

// Label1 comes first so that it lies behind the other header cells.
const HeaderCell kHeaderCells[] = {
    {"Label1", 0, 345,
     "Vol Name    Type     Total (KB)      Free (Bytes)   Used (Bytes) N-Len    Serial No."},
    {"Label10", 360, 1095, "Label10"},
    {"Label11", 1440, 975, "Label11"},
    {"Label12", 2400, 1335, "Label12"},
    {"Label13", 3720, 1455, "Label13"},
    {"Label14", 5160, 1455, "Label14"},
    {"Label15", 6600, 735, "Label15"},
    {"Label16", 7320, 1095, "Label16"},
};

std::vector<ControlDesign> BuildControls() {
  std::vector<ControlDesign> controls;
  for (const HeaderCell& h : kHeaderCells) {
    const bool corner = h.name == kHeaderCells[0].name;
    controls.push_back({.name = h.name,
                        .left = h.left,
                        .top = 0,
                        .width = h.width,
                        .height = corner ? 240.f : 255.f,
                        .caption = h.caption,
                        .foreColor = kSilver,
                        .backColor = kBlack,
                        .autoSize = corner});
  }
  for (const GridColumn& c : kGridColumns) {
    const bool designVisible = c.name == std::string_view("Label3") || c.name == std::string_view("Label4") ||
                               c.name == std::string_view("Label5");
    for (int i = 0; i < kGridRows; ++i) {
      controls.push_back({.name = c.name,
                          .index = i,
                          .left = c.left,
                          .top = 240.f + 240.f * static_cast<float>(i),
                          .width = c.width,
                          .height = 225,
                          .caption = "-",
                          .toolTip = c.toolTip,
                          .foreColor = c.colour,
                          .backColor = kBlack,
                          .font = *c.font,
                          .alignment = c.alignment,
                          .visible = designVisible && i == 0});
    }
  }
  const auto button = [](const char* name, float left, float width, const char* caption, int tabIndex) {
    return ControlDesign{.name = name,
                         .kind = ControlKind::CommandButton,
                         .left = left,
                         .top = 6240,
                         .width = width,
                         .height = 255,
                         .caption = caption,
                         .font = kSans825,
                         .tabIndex = tabIndex};
  };
  // The three sums are drawn at one size, and their three titles at another, as a column's cells.
  const auto sum = [](const char* name, float left, float width, Rgb colour) {
    return ControlDesign{.name = name,
                         .left = left,
                         .top = 6240,
                         .width = width,
                         .height = 255,
                         .caption = "-",
                         .foreColor = colour,
                         .backColor = kBlack,
                         .alignment = Alignment::Right,
                         .sizeGroup = "sums"};
  };
  const auto title = [](const char* name, float left, float width, const char* caption, Alignment alignment) {
    return ControlDesign{.name = name,
                         .left = left,
                         .top = 6240,
                         .width = width,
                         .height = 255,
                         .caption = caption,
                         .font = kSans975,
                         .alignment = alignment,
                         .sizeGroup = "sum titles"};
  };
  controls.push_back({.name = "Slider1",
                      .kind = ControlKind::Slider,
                      .left = 0,
                      .top = 6240,
                      .width = 1815,
                      .height = 255,
                      .value = 500,
                      .min = 0,
                      .max = 5000,
                      .smallChange = 1,
                      .largeChange = 5});
  controls.push_back(title("Label130", 1800, 855, "GB Total", Alignment::Left));
  controls.push_back(sum("Label182", 2640, 975, {0, 192, 192}));
  controls.push_back(title("Label131", 3720, 615, "Free", Alignment::Center));
  controls.push_back(sum("Label183", 4320, 735, {128, 255, 128}));
  controls.push_back(title("Label52", 5040, 615, "Used", Alignment::Center));
  controls.push_back(sum("Label129", 5640, 855, {255, 128, 0}));
  controls.push_back(button("Command1", 6600, 495, "Stop", 0));
  controls.push_back(button("Command3", 7080, 615, "About", 1));
  controls.push_back(button("Command4", 7680, 855, "Options", 2));
  controls.push_back(button("Command5", 8520, 615, "Next", 3));
  controls.push_back(button("Command2", 9120, 495, "Exit", 4));
  controls.push_back({.name = "StatusBar1",
                      .kind = ControlKind::StatusBar,
                      .left = 0,
                      .top = 6540,
                      .width = 9585,
                      .height = 255,
                      .font = kSans825});
  return controls;
}

}  // namespace

const FormDesign& Form1Design() {
  static const FormDesign design{.name = "Form1",
                                 .caption = "Volumetra V " VOLUMETRA_VERSION,
                                 .width = 9585 + kFrameWidthTwips,
                                 .height = 6795 + kFrameHeightTwips,
                                 .clientWidth = 9585,
                                 .clientHeight = 6795,
                                 .backColor = kBlack,
                                 .font = kSans975Bold};
  return design;
}

std::span<const ControlDesign> Form1Controls() {
  static const std::vector<ControlDesign> controls = BuildControls();
  return controls;
}

std::span<const TimerDesign> Form1Timers() {
  static const TimerDesign timers[] = {
      {"Timer1", 500}, {"Timer2", 5000}, {"Timer3", 500}, {"Timer4", 0}, {"Timer5", 65535}};
  return timers;
}

}  // namespace volumetra
