#include "platform/qt/form_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace volumetra {
namespace {

bool IsStrictAncestor(const QObject* ancestor, const QObject* object) {
  for (const QObject* o = object ? object->parent() : nullptr; o; o = o->parent()) {
    if (o == ancestor) return true;
  }
  return false;
}

}  // namespace

FormWindow::FormWindow(FormInput& input) : input_(&input) {}

bool FormWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && input_) input_->windowActivated();
  return QWidget::event(event);
}

void FormWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (input_) input_->windowMoved();
}

void FormWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (input_) input_->windowResized();
}

void FormWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && input_) input_->windowStateChanged();
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The program decides whether and how the window goes.
  event->ignore();
  if (input_) input_->closeRequested();
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::AltModifier && input_) {
    input_->closeRequested();
    return;
  }
  QWidget::keyPressEvent(event);
}

FormInputFilter::FormInputFilter(FormInput& input, QObject* parent) : QObject(parent), input_(&input) {}

void FormInputFilter::watchClicks(QWidget& widget) {
  clickable_.insert(&widget);
  widget.installEventFilter(this);
}

void FormInputFilter::watchKeys(QWidget& widget) {
  keyed_.insert(&widget);
  widget.installEventFilter(this);
}

void FormInputFilter::watchLayout(QWidget& page) {
  pages_.insert(&page);
  page.installEventFilter(this);
}

bool FormInputFilter::eventFilter(QObject* watched, QEvent* event) {
  if (!input_) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
      return filterMouse(watched, event);
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return filterKey(watched, event);
    case QEvent::Move:
    case QEvent::Resize:
      if (pages_.contains(watched)) input_->pageLaidOut(static_cast<QWidget&>(*watched));
      return false;
    default:
      return false;
  }
}

bool FormInputFilter::filterMouse(QObject* watched, QEvent* event) {
  if (!clickable_.contains(watched)) return false;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton) return true;
  auto& widget = static_cast<QWidget&>(*watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      pressed_ = watched;
      return true;
    // The second press of a double click is no new click.
    case QEvent::MouseButtonDblClick:
      pressed_ = nullptr;
      return true;
    default: {
      const bool click = pressed_ == watched && widget.rect().contains(mouse->position().toPoint());
      pressed_ = nullptr;
      if (click) input_->widgetClicked(widget);
      return true;
    }
  }
}

bool FormInputFilter::filterKey(QObject* watched, QEvent* event) {
  if (!keyed_.contains(watched)) return false;
  if (event->type() == QEvent::KeyRelease) {
    previewedKey_ = nullptr;
    previewedAt_ = nullptr;
    return false;
  }
  if (event == previewedKey_ && IsStrictAncestor(watched, previewedAt_)) {
    previewedAt_ = watched;
    return false;
  }
  previewedKey_ = event;
  previewedAt_ = watched;
  return input_->keyPreviewed(static_cast<const QKeyEvent&>(*event));
}

}  // namespace volumetra
