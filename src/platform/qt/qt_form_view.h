#pragma once

#include <QMetaObject>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/caption_neighbours.h"
#include "platform/form.h"
#include "platform/input_echo.h"
#include "platform/qt/form_window.h"
#include "platform/twips_scale.h"
#include "platform/view_guards.h"
#include "platform/window_system.h"

namespace volumetra {

/// The Qt mirror of one form: a top-level window with a child widget per control, placed from
/// twips through the screen's logical DPI. Model changes are written to the widgets; user input
/// becomes the same model calls the headless tests make. The model's geometry stays in its own
/// float twips: pixels are turned back into twips only for what the user really did.
class QtFormView final : public FormView, private FormInput {
 public:
  QtFormView(Form& form, const TwipsScale& scale);
  /// The window is hidden at once and deleted later: the form may be unloaded from inside one of
  /// its own widgets' events.
  ~QtFormView() override;
  QtFormView(const QtFormView&) = delete;
  QtFormView& operator=(const QtFormView&) = delete;

  void FormChanged(FormProperty property) override;
  void ControlChanged(Control& control, ControlProperty property) override;
  void Activate() override;

  QWidget* window() const { return window_; }
  /// The widget that mirrors `control`.
  QWidget* widget(const Control& control) const;

 private:
  void buildControls();
  void connectInput(Control& control, QWidget& widget);
  void applyTabOrder();
  /// Puts the labels into their size groups and rows, and finds their neighbours.
  void arrangeCaptions();
  /// Keeps the caption of `label` clear of its neighbours where they stand now.
  void fitCaptionRoom(const Control& label);
  QWidget* containerWidget(const Control& control) const;
  void place(const Control& control);
  void placeStatusBars();
  /// Sliders are laid out in what their parent shows of them.
  void placeSliders();
  QPoint pageOffset(const Control& tabControl, int page) const;
  QPoint windowPosition() const;
  QSize clientSize() const;
  bool fixedSize() const;
  void applyGeometry();
  void applyWindowState();
  void applyFlags();

  // FormInput
  void windowMoved() override;
  void windowResized() override;
  void windowStateChanged() override;
  void closeRequested() override;
  void windowActivated() override;
  bool keyPreviewed(const QKeyEvent& event) override;
  void widgetClicked(QWidget& widget) override;
  void pageLaidOut(QWidget& page) override;

  Form& form_;
  const TwipsScale scale_;
  FormWindow* window_;
  FormInputFilter* filter_;
  std::unordered_map<const Control*, QWidget*> widgets_;
  std::unordered_map<const QWidget*, Control*> controlOf_;
  std::vector<QMetaObject::Connection> connections_;
  // The labels' neighbours, once every control has its widget.
  std::optional<CaptionNeighbourhood> neighbourhood_;
  ViewGuards guards_;
  // User input on a control: the model decides, then its state is shown again.
  const InputEcho input_;
};

}  // namespace volumetra
