#pragma once

#include <memory>

namespace volumetra {

class Control;
class Form;
enum class ControlProperty;

/// What a backend is told about a form.
enum class FormProperty { Geometry, WindowState, Visible, Caption };

/// A backend's mirror of one form: a real window, or nothing at all in headless tests. The model
/// calls it after a property has changed; the view turns user input into calls on the model.
class FormView {
 public:
  virtual ~FormView() = default;
  virtual void FormChanged(FormProperty property) = 0;
  virtual void ControlChanged(Control& control, ControlProperty property) = 0;
  /// Bring the window to the front and give it the focus.
  virtual void Activate() = 0;
};

/// The windowing backend: makes a view for each form as it is created.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  /// A view for a newly created form; nullptr for a backend without windows. The view is destroyed
  /// when the form is unloaded; a backend that runs inside the form's own event defers the
  /// destruction of its widgets.
  virtual std::unique_ptr<FormView> CreateView(Form& form) = 0;
  /// The screen's size in twips, for forms that open centred.
  virtual float ScreenWidthTwips() = 0;
  virtual float ScreenHeightTwips() = 0;
  /// Ends the event loop: the program is over.
  virtual void Quit() = 0;
};

}  // namespace volumetra
