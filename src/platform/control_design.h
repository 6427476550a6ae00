#pragma once

#include <optional>
#include <string>

#include "platform/rgb.h"

namespace volumetra {

enum class ControlKind {
  Label,
  Shape,
  CommandButton,
  CheckBox,
  OptionButton,
  TextBox,
  Slider,
  StatusBar,
  Frame,
  Image,
  TabControl,
};

enum class Alignment { Left, Right, Center };

/// A font by face name and point size.
struct FontSpec {
  std::string face = "MS Sans Serif";
  float points = 8.25f;
  bool bold = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

/// A rectangle in twips.
struct TwipsRect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  float right() const { return left + width; }
  float bottom() const { return top + height; }
};

/// Check box states.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGrayed = 2;

/// One control as designed: a row of a form's design table. Positions and sizes are twips relative
/// to the container's client area. Unset colours and fonts take the system's or the form's.
struct ControlDesign {
  const char* name = "";
  int index = -1;  ///< element of a control array, or -1 for a single control
  ControlKind kind = ControlKind::Label;
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  const char* caption = "";  ///< caption, or the text of a text box
  const char* toolTip = "";
  std::optional<Rgb> foreColor{};
  std::optional<Rgb> backColor{};
  std::optional<FontSpec> font{};
  Alignment alignment = Alignment::Left;
  bool visible = true;
  bool enabled = true;
  bool autoSize = false;
  int value = 0;  ///< check box state, option button selection (1), slider value or current tab
  int min = 0;
  int max = 10;
  int smallChange = 1;
  int largeChange = 5;
  int tabIndex = -1;
  const char* container = "";    ///< name of the frame or tab control that holds it; "" for the form
  int tabPage = -1;              ///< page of the tab control that holds it
  const char* tabCaptions = "";  ///< tab control only: the tab captions separated by '|'
  /// Single labels given the same name here are drawn at one size, as the cells of a control
  /// array (a table column) always are.
  const char* sizeGroup = "";
  /// Image only: a square picture, one text row per pixel row, one character per pixel, coloured
  /// by `PictureColour`.
  const char* const* picture = nullptr;
  int pictureSize = 0;
};

/// The colour of a picture character: '.' transparent, 'k' black, 'w' white, 'g' green,
/// 'b' blue, 'o' orange, 's' silver, 'd' dark grey, 'c' cyan.
Rgb PictureColour(char pixel);

}  // namespace volumetra
