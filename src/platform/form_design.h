#pragma once

#include "platform/control_design.h"

namespace volumetra {

enum class BorderStyle { Sizable, FixedSingle, FixedDialog };

/// A form as designed. Left, top, width and height are the outer window in twips; the client
/// area is what the controls are placed in.
struct FormDesign {
  const char* name = "";
  const char* caption = "";
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  float clientWidth = 0;
  float clientHeight = 0;
  Rgb backColor{192, 192, 192};
  FontSpec font{};
  BorderStyle border = BorderStyle::Sizable;
  bool controlBox = true;
  bool minButton = true;
  bool maxButton = true;
  bool keyPreview = false;
  bool centered = false;  ///< opens centred on the screen
};

/// A timer as designed.
struct TimerDesign {
  const char* name = "";
  int interval = 0;
  bool enabled = true;
};

}  // namespace volumetra

namespace volumetra {

/// The window frame around a form's client area, in twips: the borders left and right, and the
/// caption bar with the borders top and bottom. The designed windows have one-pixel borders: the
/// main window's 9585-twip client area makes its designed width exactly the 9600 twips it may
/// have, and the graph window's default width of 5310 twips holds its Next button, which ends at
/// 5295.
inline constexpr float kFrameWidthTwips = 15;
inline constexpr float kFrameHeightTwips = 405;

}  // namespace volumetra
