#include "platform/form.h"

#include <stdexcept>

namespace volumetra {

Form::Form(FormHost& host, TimerHost& timers, const FormDesign& design,
           std::span<const ControlDesign> controls, std::span<const TimerDesign> timerDesigns)
    : host_(host),
      design_(design),
      name_(design.name),
      caption_(design.caption),
      left_(design.left),
      top_(design.top),
      width_(design.width),
      height_(design.height) {
  controls_.reserve(controls.size());
  for (const ControlDesign& d : controls) controls_.push_back(std::make_unique<Control>(*this, d));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (*controls[i].container) controls_[i]->container_ = &control(controls[i].container);
  }
  for (const TimerDesign& t : timerDesigns) {
    timers_.push_back(std::make_unique<Timer>(timers, t.name, t.interval, t.enabled));
  }
}

Form::~Form() {
  view_.reset();
  // Timers go first so that no tick reaches a half-destroyed form.
  timers_.clear();
  if (host_.ActiveForm() == this) host_.SetActiveForm(nullptr);
}

Control& Form::control(const std::string& name, int index) const {
  for (const auto& c : controls_) {
    if (c->name() == name && c->index() == index) return *c;
  }
  throw std::out_of_range(name_ + " has no control " + name +
                          (index >= 0 ? "(" + std::to_string(index) + ")" : ""));
}

std::vector<Control*> Form::controlArray(const std::string& name) const {
  std::vector<Control*> elements;
  for (const auto& c : controls_) {
    if (c->name() != name || c->index() < 0) continue;
    if (static_cast<std::size_t>(c->index()) >= elements.size()) elements.resize(c->index() + 1, nullptr);
    elements[c->index()] = c.get();
  }
  return elements;
}

Timer& Form::timer(const std::string& name) const {
  for (const auto& t : timers_) {
    if (t->name() == name) return *t;
  }
  throw std::out_of_range(name_ + " has no timer " + name);
}

void Form::notifyControl(Control& control, ControlProperty property) {
  if (view_) view_->ControlChanged(control, property);
}

void Form::notifyForm(FormProperty property) {
  if (view_) view_->FormChanged(property);
}

void Form::setGeometry(float& field, float v, bool resize) {
  ++layoutAssignments_;
  if (field == v) return;
  field = v;
  notifyForm(FormProperty::Geometry);
  if (resize) Form_Resize();
}

void Form::setLeft(float v) {
  setGeometry(left_, v, false);
}
void Form::setTop(float v) {
  setGeometry(top_, v, false);
}
void Form::setWidth(float v) {
  setGeometry(width_, v, true);
}
void Form::setHeight(float v) {
  setGeometry(height_, v, true);
}

void Form::setWindowState(WindowState state) {
  if (state_ == state) return;
  state_ = state;
  notifyForm(FormProperty::WindowState);
  Form_Resize();
}

void Form::Show() {
  if (!visible_) {
    visible_ = true;
    notifyForm(FormProperty::Visible);
  }
  if (view_) view_->Activate();
  Activate();
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  notifyForm(FormProperty::Visible);
  if (host_.ActiveForm() == this) host_.SetActiveForm(nullptr);
}

void Form::Activate() {
  if (host_.ActiveForm() == this) return;
  host_.SetActiveForm(this);
  Form_Activate();
}

void Form::UserMoved(float left, float top) {
  if (left_ == left && top_ == top) return;
  left_ = left;
  top_ = top;
  notifyForm(FormProperty::Geometry);
}

void Form::UserResized(float width, float height) {
  if (width_ == width && height_ == height) return;
  width_ = width;
  height_ = height;
  notifyForm(FormProperty::Geometry);
  Form_Resize();
}

void Form::attachView(std::unique_ptr<FormView> view) {
  view_ = std::move(view);
}

}  // namespace volumetra
