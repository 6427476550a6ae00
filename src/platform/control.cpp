#include "platform/control.h"

#include <algorithm>

#include "platform/form.h"

namespace volumetra {
namespace {

std::vector<std::string> SplitCaptions(const std::string& joined) {
  std::vector<std::string> parts;
  if (joined.empty()) return parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = joined.find('|', start);
    parts.push_back(joined.substr(start, bar - start));
    if (bar == std::string::npos) return parts;
    start = bar + 1;
  }
}

}  // namespace

Rgb PictureColour(char pixel) {
  switch (pixel) {
    case 'k':
      return {0, 0, 0};
    case 'w':
      return {255, 255, 255};
    case 'g':
      return {0, 255, 0};
    case 'b':
      return {0, 0, 255};
    case 'o':
      return {255, 128, 0};
    case 's':
      return {192, 192, 192};
    case 'd':
      return {96, 96, 96};
    case 'c':
      return {0, 192, 192};
    default:
      return {0, 0, 0};
  }
}

Control::Control(Form& form, const ControlDesign& d)
    : form_(form),
      name_(d.name),
      index_(d.index),
      kind_(d.kind),
      tabPage_(d.tabPage),
      tabIndex_(d.tabIndex),
      designedRect_{d.left, d.top, d.width, d.height},
      sizeGroup_(d.sizeGroup),
      left_(d.left),
      top_(d.top),
      width_(d.width),
      height_(d.height),
      visible_(d.visible),
      enabled_(d.enabled),
      caption_(d.caption),
      toolTip_(d.toolTip),
      foreColor_(d.foreColor),
      backColor_(d.backColor),
      font_(d.font.value_or(form.design().font)),
      alignment_(d.alignment),
      autoSize_(d.autoSize),
      value_(d.value),
      min_(d.min),
      max_(d.max),
      smallChange_(d.smallChange),
      largeChange_(d.largeChange),
      tabCaptions_(SplitCaptions(d.tabCaptions)),
      picture_(d.picture),
      pictureSize_(d.pictureSize) {}

void Control::notify(ControlProperty property) {
  form_.notifyControl(*this, property);
}

void Control::setLayout(float& field, float v) {
  form_.countLayoutAssignment();
  if (field == v) return;
  field = v;
  notify(ControlProperty::Geometry);
}

void Control::setLeft(float v) {
  setLayout(left_, v);
}
void Control::setTop(float v) {
  setLayout(top_, v);
}
void Control::setWidth(float v) {
  setLayout(width_, v);
}
void Control::setHeight(float v) {
  setLayout(height_, v);
}

void Control::setVisible(bool v) {
  form_.countLayoutAssignment();
  if (visible_ == v) return;
  visible_ = v;
  notify(ControlProperty::Visible);
}

void Control::setEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  notify(ControlProperty::Enabled);
}

void Control::setCaption(const std::string& text) {
  if (caption_ == text) return;
  caption_ = text;
  notify(ControlProperty::Caption);
}

void Control::setToolTip(const std::string& text) {
  if (toolTip_ == text) return;
  toolTip_ = text;
  notify(ControlProperty::ToolTip);
}

void Control::setForeColor(Rgb colour) {
  if (foreColor_ == colour) return;
  foreColor_ = colour;
  notify(ControlProperty::ForeColor);
}

void Control::setBackColor(Rgb colour) {
  if (backColor_ == colour) return;
  backColor_ = colour;
  notify(ControlProperty::BackColor);
}

void Control::setText(const std::string& text) {
  if (caption_ == text) return;
  caption_ = text;
  notify(ControlProperty::Text);
  if (onChange) onChange();
}

void Control::setValue(int v) {
  if (kind_ == ControlKind::Slider) v = std::clamp(v, min_, max_);
  if (value_ == v) return;
  value_ = v;
  notify(ControlProperty::Value);
  if (kind_ == ControlKind::OptionButton && v != 0) {
    for (const auto& other : form_.controls()) {
      if (other.get() != this && other->kind_ == ControlKind::OptionButton &&
          other->container_ == container_ && other->value_ != 0) {
        other->value_ = 0;
        other->notify(ControlProperty::Value);
      }
    }
  }
  const bool clicks = kind_ == ControlKind::CheckBox || (kind_ == ControlKind::OptionButton && v != 0);
  if (clicks && onClick) onClick();
}

void Control::Click() {
  if (!enabled_) return;
  switch (kind_) {
    case ControlKind::CheckBox:
      setValue(value_ == kUnchecked ? kChecked : kUnchecked);
      return;
    case ControlKind::OptionButton:
      setValue(1);
      return;
    default:
      if (onClick) onClick();
  }
}

void Control::Scroll(int v) {
  if (!enabled_) return;
  setValue(v);
  if (onScroll) onScroll();
}

void Control::Type(const std::string& text) {
  if (enabled_) setText(text);
}

}  // namespace volumetra
