#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/control_design.h"

namespace volumetra {

class Form;

/// What a backend is told about: which property of a control changed.
enum class ControlProperty {
  Geometry,
  Visible,
  Enabled,
  Caption,
  ToolTip,
  ForeColor,
  BackColor,
  Font,
  Value,
  Text,
};

/// One control of a form, in the manner of the Visual Basic controls the program was designed
/// with. Positions are twips. Setting a state from code runs the same handler as the user's action
/// would (a check box's click, an option button becoming selected, a text box's change). A backend
/// is told of a property only when its value really changes.
class Control {
 public:
  Control(Form& form, const ControlDesign& design);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& form() const { return form_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }
  ControlKind kind() const { return kind_; }
  /// The frame or tab control that holds this control, or nullptr for the form itself.
  Control* container() const { return container_; }
  int tabPage() const { return tabPage_; }
  /// True for a control on a page of a tab control.
  bool onTabPage() const { return container_ && container_->kind() == ControlKind::TabControl; }
  int tabIndex() const { return tabIndex_; }

  /// Where the control stands as designed, before any code moves it.
  const TwipsRect& designedRect() const { return designedRect_; }
  /// The design's size group of a single label; "" for none.
  const std::string& sizeGroup() const { return sizeGroup_; }

  float left() const { return left_; }
  float top() const { return top_; }
  float width() const { return width_; }
  float height() const { return height_; }
  void setLeft(float v);
  void setTop(float v);
  void setWidth(float v);
  void setHeight(float v);
  bool visible() const { return visible_; }
  void setVisible(bool v);
  bool enabled() const { return enabled_; }
  void setEnabled(bool v);

  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& text);
  const std::string& toolTip() const { return toolTip_; }
  void setToolTip(const std::string& text);
  const std::optional<Rgb>& foreColor() const { return foreColor_; }
  void setForeColor(Rgb colour);
  const std::optional<Rgb>& backColor() const { return backColor_; }
  void setBackColor(Rgb colour);
  /// A shape's fill colour is its back colour.
  void setFillColor(Rgb colour) { setBackColor(colour); }
  const FontSpec& font() const { return font_; }
  Alignment alignment() const { return alignment_; }
  bool autoSize() const { return autoSize_; }

  /// Text box text; a change runs `onChange`.
  const std::string& text() const { return caption_; }
  void setText(const std::string& text);

  /// Check box state (0 clear, 1 checked, 2 greyed), option button selection (0 or 1), slider
  /// value or the tab control's current tab. A change of a check box or a selection of an option
  /// button runs `onClick`; selecting an option button clears the others of its container.
  int value() const { return value_; }
  void setValue(int v);
  int min() const { return min_; }
  int max() const { return max_; }
  int smallChange() const { return smallChange_; }
  int largeChange() const { return largeChange_; }
  const std::vector<std::string>& tabCaptions() const { return tabCaptions_; }
  const char* const* picture() const { return picture_; }
  int pictureSize() const { return pictureSize_; }

  /// The user clicks the control: a check box toggles, an option button is selected, a button,
  /// label or frame runs `onClick`. Disabled controls ignore clicks.
  void Click();
  /// The user drags the slider to `v`: the value changes and `onScroll` runs.
  void Scroll(int v);
  /// The user types: the same as `setText`, ignored when disabled.
  void Type(const std::string& text);

  std::function<void()> onClick;
  std::function<void()> onChange;
  std::function<void()> onScroll;

 private:
  friend class Form;
  void setLayout(float& field, float v);
  void notify(ControlProperty property);

  Form& form_;
  std::string name_;
  int index_;
  ControlKind kind_;
  Control* container_ = nullptr;
  int tabPage_;
  int tabIndex_;
  TwipsRect designedRect_;
  std::string sizeGroup_;
  float left_, top_, width_, height_;
  bool visible_, enabled_;
  std::string caption_;
  std::string toolTip_;
  std::optional<Rgb> foreColor_, backColor_;
  FontSpec font_;
  Alignment alignment_;
  bool autoSize_;
  int value_;
  int min_, max_, smallChange_, largeChange_;
  std::vector<std::string> tabCaptions_;
  const char* const* picture_;
  int pictureSize_;
};

}  // namespace volumetra
