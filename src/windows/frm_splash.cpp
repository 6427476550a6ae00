#include "windows/frm_splash.h"

#include <string>

#include "app/program.h"
#include "version.h"
#include "windows/logo.h"

namespace volumetra {
namespace {

const FontSpec kArial825{"Arial", 8.25f, false};

const ControlDesign kControls[] = {
    {.name = "Frame1", .kind = ControlKind::Frame, .left = 150, .top = 60, .width = 7545, .height = 4050},
    {.name = "lblLicenseTo",
     .left = 240,
     .top = 240,
     .width = 7095,
     .height = 255,
     .caption = "Free software under the MIT License",
     .font = kArial825,
     .alignment = Alignment::Right,
     .container = "Frame1"},
    {.name = "lblCompanyProduct",
     .left = 2355,
     .top = 705,
     .width = 930,
     .height = 435,
     .caption = "The Volumetra Developers",
     .font = FontSpec{"Arial", 18, true},
     .autoSize = true,
     .container = "Frame1"},
    {.name = "imgLogo",
     .kind = ControlKind::Image,
     .left = 360,
     .top = 795,
     .width = 1815,
     .height = 2385,
     .container = "Frame1",
     .picture = kLogo,
     .pictureSize = kLogoSize},
    {.name = "Label1",
     .left = 2640,
     .top = 1560,
     .width = 4215,
     .height = 495,
     .caption = "Volumetra",
     .font = FontSpec{"MS Sans Serif", 24, true},
     .container = "Frame1"},
    {.name = "lblPlatform",
     .left = 4155,
     .top = 2340,
     .width = 2700,
     .height = 360,
     .caption = "",  // the platform the program runs on
     .font = FontSpec{"Arial", 15.75f, true},
     .alignment = Alignment::Right,
     .autoSize = true,
     .container = "Frame1"},
    {.name = "lblVersion",
     .left = 5445,
     .top = 2700,
     .width = 1410,
     .height = 285,
     .caption = "Version " VOLUMETRA_VERSION,
     .font = FontSpec{"Arial", 12, true},
     .alignment = Alignment::Right,
     .autoSize = true,
     .container = "Frame1"},
    {.name = "lblCopyright",
     .left = 4080,
     .top = 3060,
     .width = 2895,
     .height = 255,
     .caption = "Copyright (c) 2026 Volumetra",
     .font = kArial825,
     .container = "Frame1"},
    {.name = "lblProductName",
     .left = 2400,
     .top = 3240,
     .width = 840,
     .height = 210,
     .caption = "Volumetra",
     .font = FontSpec{"Arial", 8.25f, true},
     .visible = false,
     .autoSize = true,
     .container = "Frame1"},
    {.name = "Command1",
     .kind = ControlKind::CommandButton,
     .left = 6840,
     .top = 3600,
     .width = 615,
     .height = 375,
     .caption = "OK",
     .container = "Frame1"},
};

const FormDesign kDesign{.name = "frmSplash",
                         .caption = "",
                         .width = 7845 + kFrameWidthTwips,
                         .height = 4245 + kFrameHeightTwips,
                         .clientWidth = 7845,
                         .clientHeight = 4245,
                         .border = BorderStyle::FixedDialog,
                         .minButton = false,
                         .maxButton = false,
                         .keyPreview = true,
                         .centered = true};

}  // namespace

FrmSplash::FrmSplash(Program& program)
    : Form(program, program.os.timers, kDesign, kControls),
      Frame1(control("Frame1")),
      Command1(control("Command1")),
      lblProductName(control("lblProductName")),
      program_(program) {
  Command1.onClick = [this] { Command1_Click(); };
  Frame1.onClick = [this] { Frame1_Click(); };
  control("lblPlatform").setCaption(std::string(program.os.platformName));
}

void FrmSplash::Form_KeyPress(int /*keyCode*/) {
  program_.Unload(*this);
}
void FrmSplash::Command1_Click() {
  program_.Unload(*this);
}
void FrmSplash::Frame1_Click() {
  program_.Unload(*this);
}

}  // namespace volumetra
