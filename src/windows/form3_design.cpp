#include "windows/form3_design.h"

#include <vector>

namespace volumetra {
namespace {

enum Page { kLogging, kAlarm, kMisc, kLanguage };

constexpr float kClientWidth = 4095;
constexpr float kClientHeight = 3840;

/// One control on a page of the tab control; positions relative to the page, `order` is the
/// keyboard tab order.
struct PageControl {
  const char* name;
  ControlKind kind;
  Page page;
  const char* caption;
  float left, top, width, height;
  int order;
  int value;
  bool enabled;
};

constexpr ControlKind kCheck = ControlKind::CheckBox;
constexpr ControlKind kOption = ControlKind::OptionButton;
constexpr ControlKind kText = ControlKind::TextBox;
constexpr ControlKind kLabel = ControlKind::Label;

const PageControl kPageControls[] = {
    {"Check1", kCheck, kLogging, "Enable logging", 240, 600, 2655, 255, 1, kUnchecked, true},
    {"Label6", kLabel, kLogging, "Log-File directory:", 240, 2160, 3495, 255, 2, 0, true},
    {"Text1", kText, kLogging, "", 120, 2400, 3855, 285, 3, 0, true},
    {"Check6", kCheck, kLogging, "every second", 240, 960, 1455, 255, 17, kUnchecked, false},
    {"Check7", kCheck, kLogging, "every minute", 240, 1320, 1335, 255, 18, kChecked, false},
    {"Check8", kCheck, kLogging, "Slider value main window", 240, 1680, 3495, 255, 19, kUnchecked, false},
    {"Label3", kLabel, kLogging, "Log-File name:", 240, 3000, 1695, 255, 23, 0, true},
    {"Text3", kText, kLogging, "LOG.TXT", 120, 3240, 3855, 285, 22, 0, true},
    {"Check3", kCheck, kAlarm, "Enable low diskspace alarm colours", 240, 480, 3375, 615, 9, kUnchecked,
     true},
    {"Label1", kLabel, kAlarm, "Value:", 240, 1200, 495, 255, 10, 0, true},
    {"Text2", kText, kAlarm, "100", 720, 1200, 1455, 285, 11, 0, true},
    {"Label2", kLabel, kAlarm, "MB", 2280, 1200, 375, 255, 12, 0, true},
    {"Check4", kCheck, kAlarm, "Enable alarm beep", 240, 1560, 2055, 255, 13, kUnchecked, true},
    {"Check5", kCheck, kMisc, "enable colour Info", 240, 480, 2175, 375, 14, kChecked, true},
    {"Check2", kCheck, kMisc, "link forms", 240, 840, 3015, 375, 20, kUnchecked, true},
    {"Check9", kCheck, kMisc, "exclude CD-ROM drives", 240, 1320, 2895, 195, 24, kUnchecked, true},
    {"Check10", kCheck, kMisc, "exclude double mappings", 240, 1680, 2175, 255, 25, kUnchecked, true},
    {"Option5", kOption, kLanguage, "English", 240, 600, 855, 195, 4, 1, true},
    {"Option6", kOption, kLanguage, "Deutsch", 240, 960, 1095, 255, 5, 0, true},
    {"Option7", kOption, kLanguage, "Dutch", 240, 1320, 1095, 255, 6, 0, false},
    {"Option8", kOption, kLanguage, "Francais", 240, 1680, 975, 255, 7, 0, false},
    {"Option9", kOption, kLanguage, "Dansk", 240, 2040, 1335, 255, 8, 0, false},
    {"Option10", kOption, kLanguage, "Suomi", 240, 2400, 1215, 255, 15, 0, false},
    {"Option11", kOption, kLanguage, "Italiano", 240, 2760, 1095, 255, 16, 0, false},
    {"Option1", kOption, kLanguage, "Espanol", 240, 3120, 975, 255, 21, 0, false},
};

std::vector<ControlDesign> BuildControls() {
  std::vector<ControlDesign> controls;
  // The tab control comes first: the controls on its pages name it as their container.
  controls.push_back({.name = "SSTab1",
                      .kind = ControlKind::TabControl,
                      .left = 0,
                      .top = 0,
                      .width = kClientWidth,
                      .height = 3855,
                      .value = kMisc,
                      .tabIndex = 0,
                      .tabCaptions = "Logging|Alarm|Misc.|Language"});
  for (const PageControl& c : kPageControls) {
    controls.push_back({.name = c.name,
                        .kind = c.kind,
                        .left = c.left,
                        .top = c.top,
                        .width = c.width,
                        .height = c.height,
                        .caption = c.caption,
                        .enabled = c.enabled,
                        .value = c.value,
                        .tabIndex = c.order,
                        .container = "SSTab1",
                        .tabPage = c.page});
  }
  return controls;
}

}  // namespace

const FormDesign& Form3Design() {
  static const FormDesign design{.name = "Form3",
                                 .caption = "Options",
                                 .width = kClientWidth + kFrameWidthTwips,
                                 .height = kClientHeight + kFrameHeightTwips,
                                 .clientWidth = kClientWidth,
                                 .clientHeight = kClientHeight,
                                 .border = BorderStyle::FixedDialog,
                                 .controlBox = false,
                                 .minButton = false,
                                 .maxButton = false,
                                 .centered = true};
  return design;
}

std::span<const ControlDesign> Form3Controls() {
  static const std::vector<ControlDesign> controls = BuildControls();
  return controls;
}

std::span<const TimerDesign> Form3Timers() {
  static const TimerDesign timers[] = {{"Timer2", 250}};
  return timers;
}

}  // namespace volumetra
