#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/form_design.h"
#include "platform/timer.h"
#include "platform/window_system.h"

namespace volumetra {

enum class WindowState { Normal, Minimized, Maximized };

class Form;

/// The program's side of the forms: unloads a form on request (its close box, the system's
/// close command) and tracks which form is the active one.
class FormHost {
 public:
  virtual ~FormHost() = default;
  /// The user closed `form` through the window system.
  virtual void CloseRequested(Form& form) = 0;
  virtual Form* ActiveForm() = 0;
  virtual void SetActiveForm(Form* form) = 0;
};

/// A top-level window with its controls and timers, created from design tables. Geometry is in
/// twips (single precision, as designed). Handlers are virtual members named after the event.
class Form {
 public:
  Form(FormHost& host, TimerHost& timers, const FormDesign& design, std::span<const ControlDesign> controls,
       std::span<const TimerDesign> timerDesigns = {});
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  const FormDesign& design() const { return design_; }

  /// The single control `name`, or element `index` of the control array `name`. Throws
  /// std::out_of_range for a name the design does not have.
  Control& control(const std::string& name, int index = -1) const;
  /// All elements of the control array `name`, by index (missing elements are nullptr).
  std::vector<Control*> controlArray(const std::string& name) const;
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  Timer& timer(const std::string& name) const;

  float left() const { return left_; }
  float top() const { return top_; }
  float width() const { return width_; }
  float height() const { return height_; }
  void setLeft(float v);
  void setTop(float v);
  /// Width and height are the outer size. A change runs Form_Resize.
  void setWidth(float v);
  void setHeight(float v);
  WindowState windowState() const { return state_; }
  /// A change runs Form_Resize.
  void setWindowState(WindowState state);
  bool visible() const { return visible_; }
  const std::string& caption() const { return caption_; }

  /// Makes the form visible and active (Form_Activate runs when it was not the active form).
  void Show();
  /// Hides the form without unloading it.
  void Hide();
  /// The form becomes the active window; Form_Activate runs when it was not already.
  void Activate();

  /// User input from the backend.
  void UserMoved(float left, float top);
  void UserResized(float width, float height);
  void UserKeyPress(int keyCode) { Form_KeyPress(keyCode); }
  void UserClose() { host_.CloseRequested(*this); }

  /// How often a layout property (position, size, visibility) was assigned, equal or not.
  std::uint64_t layoutAssignments() const { return layoutAssignments_; }

  void attachView(std::unique_ptr<FormView> view);
  /// Stops and removes every timer of the form (it is being unloaded).
  void stopTimers() { timers_.clear(); }
  FormView* view() const { return view_.get(); }

  /// Event handlers.
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Resize() {}
  virtual void Form_Unload() {}
  virtual void Form_KeyPress(int /*keyCode*/) {}

 protected:
  FormHost& host() const { return host_; }

 private:
  friend class Control;
  void countLayoutAssignment() { ++layoutAssignments_; }
  void notifyControl(Control& control, ControlProperty property);
  void notifyForm(FormProperty property);
  void setGeometry(float& field, float v, bool resize);

  FormHost& host_;
  FormDesign design_;
  std::string name_;
  std::string caption_;
  float left_, top_, width_, height_;
  WindowState state_ = WindowState::Normal;
  bool visible_ = false;
  std::uint64_t layoutAssignments_ = 0;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<Timer>> timers_;
  std::unique_ptr<FormView> view_;
};

}  // namespace volumetra
