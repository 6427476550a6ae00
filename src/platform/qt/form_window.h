#pragma once

#include <QObject>
#include <QWidget>
#include <unordered_set>

class QKeyEvent;

namespace volumetra {

/// What a form's window and its input filter report to the form's view. Every call is made from
/// inside a Qt event of the window or of one of its widgets.
class FormInput {
 public:
  virtual void windowMoved() = 0;
  virtual void windowResized() = 0;
  virtual void windowStateChanged() = 0;
  /// The close box, or the system's close command (a window manager's close request, Alt+F4).
  virtual void closeRequested() = 0;
  virtual void windowActivated() = 0;
  /// A key press seen by the form before its controls; true when the form took the key.
  virtual bool keyPreviewed(const QKeyEvent& event) = 0;
  /// A press and release of the left mouse button inside a clickable widget.
  virtual void widgetClicked(QWidget& widget) = 0;
  /// A tab page was laid out anew: the controls on it are placed again.
  virtual void pageLaidOut(QWidget& page) = 0;

 protected:
  ~FormInput() = default;
};

/// The top-level window of a form. Once detached (its form is gone) it reports nothing more and
/// waits for its deferred deletion.
class FormWindow : public QWidget {
 public:
  explicit FormWindow(FormInput& input);
  void detach() { input_ = nullptr; }

 protected:
  bool event(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  FormInput* input_;
};

/// Watches a form's widgets: clicks on widgets that have no click signal of their own (labels,
/// frames, images), key presses for a form with key preview, and the layout of tab pages.
class FormInputFilter : public QObject {
 public:
  FormInputFilter(FormInput& input, QObject* parent);
  void detach() { input_ = nullptr; }

  void watchClicks(QWidget& widget);
  void watchKeys(QWidget& widget);
  void watchLayout(QWidget& page);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool filterMouse(QObject* watched, QEvent* event);
  bool filterKey(QObject* watched, QEvent* event);

  FormInput* input_;
  std::unordered_set<QObject*> clickable_, keyed_, pages_;
  QObject* pressed_ = nullptr;
  // The key press last previewed and the widget it last reached: a key that a widget ignores
  // travels on to its parents, and the form sees it only once.
  const QEvent* previewedKey_ = nullptr;
  QObject* previewedAt_ = nullptr;
};

}  // namespace volumetra
