#include "platform/qt/qt_form_view.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/caption_fitting.h"
#include "platform/caption_groups.h"
#include "platform/form_design.h"
#include "platform/qt/caption_label.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/qt_look.h"
#include "platform/qt/self_sizing_label.h"

namespace volumetra {
namespace {

constexpr Qt::WindowStates kSizeStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

WindowState FromQtState(Qt::WindowStates states) {
  if (states & Qt::WindowMinimized) return WindowState::Minimized;
  if (states & (Qt::WindowMaximized | Qt::WindowFullScreen)) return WindowState::Maximized;
  return WindowState::Normal;
}

Qt::WindowStates ToQtState(WindowState state) {
  switch (state) {
    case WindowState::Minimized:
      return Qt::WindowMinimized;
    case WindowState::Maximized:
      return Qt::WindowMaximized;
    case WindowState::Normal:
      break;
  }
  return Qt::WindowNoState;
}

}  // namespace

QtFormView::QtFormView(Form& form, const TwipsScale& scale)
    : form_(form),
      scale_(scale),
      window_(new FormWindow(*this)),
      filter_(new FormInputFilter(*this, window_)),
      input_(guards_, {[this](const Control& c) { MirrorProperty(c, *widget(c), ControlProperty::Value); },
                       [this](const Control& c) { MirrorProperty(c, *widget(c), ControlProperty::Text); }}) {
  window_->setObjectName(QString::fromStdString(form.name()));
  applyFlags();
  window_->setWindowTitle(QString::fromStdString(form.caption()));
  QPalette palette = window_->palette();
  palette.setColor(QPalette::Window, ToQColor(form.design().backColor));
  window_->setPalette(palette);
  window_->setAutoFillBackground(true);
  window_->setFont(DesignFont(form.design().font));
  buildControls();
  arrangeCaptions();
  applyTabOrder();
  applyGeometry();
  applyWindowState();
  if (form.visible()) window_->show();
}

QtFormView::~QtFormView() {
  guards_.end();
  for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
  filter_->detach();
  window_->detach();
  window_->hide();
  window_->deleteLater();
}

QWidget* QtFormView::widget(const Control& control) const {
  const auto found = widgets_.find(&control);
  return found == widgets_.end() ? nullptr : found->second;
}

void QtFormView::applyFlags() {
  const FormDesign& d = form_.design();
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (d.controlBox) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (d.minButton) flags |= Qt::WindowMinimizeButtonHint;
    if (d.maxButton) flags |= Qt::WindowMaximizeButtonHint;
  }
  window_->setWindowFlags(flags);
}

QWidget* QtFormView::containerWidget(const Control& control) const {
  if (!control.container()) return window_;
  QWidget* container = widget(*control.container());
  if (!container) {
    throw std::logic_error(form_.name() + ": " + control.name() + " is designed before its container");
  }
  if (control.container()->kind() != ControlKind::TabControl) return container;
  QWidget* page = static_cast<QTabWidget*>(container)->widget(control.tabPage());
  return page ? page : container;
}

void QtFormView::buildControls() {
  // Creation order is the z-order: a later control lies in front of an earlier one.
  for (const std::unique_ptr<Control>& owned : form_.controls()) {
    Control& c = *owned;
    QWidget* w = CreateControlWidget(c, containerWidget(c));
    widgets_.emplace(&c, w);
    controlOf_.emplace(w, &c);
    MirrorAllProperties(c, *w);
    connectInput(c, *w);
    place(c);
  }
  if (!form_.design().keyPreview) return;
  filter_->watchKeys(*window_);
  for (QWidget* w : window_->findChildren<QWidget*>()) filter_->watchKeys(*w);
}

void QtFormView::connectInput(Control& c, QWidget& w) {
  switch (c.kind()) {
    case ControlKind::CommandButton:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      connections_.push_back(QObject::connect(static_cast<QAbstractButton*>(&w), &QAbstractButton::clicked,
                                              filter_, [this, &c] { input_.click(c); }));
      return;
    case ControlKind::TextBox:
      connections_.push_back(
          QObject::connect(static_cast<QLineEdit*>(&w), &QLineEdit::textEdited, filter_,
                           [this, &c](const QString& text) { input_.type(c, text.toStdString()); }));
      return;
    case ControlKind::Slider: {
      auto* slider = static_cast<QSlider*>(&w);
      // Every user move of the slider (drag, keys, page clicks) comes as an action, with the new
      // position already set and the value not yet.
      connections_.push_back(
          QObject::connect(slider, &QAbstractSlider::actionTriggered, filter_,
                           [this, &c, slider] { input_.scroll(c, slider->sliderPosition()); }));
      return;
    }
    case ControlKind::TabControl: {
      auto* tabs = static_cast<QTabWidget*>(&w);
      connections_.push_back(QObject::connect(tabs, &QTabWidget::currentChanged, filter_,
                                              [this, &c](int page) { input_.selectTab(c, page); }));
      for (int page = 0; page < tabs->count(); ++page) filter_->watchLayout(*tabs->widget(page));
      return;
    }
    case ControlKind::Label:
    case ControlKind::Frame:
    case ControlKind::Image:
      filter_->watchClicks(w);
      return;
    case ControlKind::Shape:
    case ControlKind::StatusBar:
      return;
  }
}

void QtFormView::arrangeCaptions() {
  for (const std::vector<Control*>& column : CaptionSizeGroups(form_)) {
    const auto group = std::make_shared<CaptionSizeGroup>();
    for (const Control* c : column) static_cast<CaptionLabel*>(widget(*c))->joinGroup(group);
    group->refit();
  }
  for (const std::vector<Control*>& line : CaptionRows(form_)) {
    const auto row = std::make_shared<CaptionBaseline>();
    for (const Control* c : line) static_cast<CaptionLabel*>(widget(*c))->joinRow(row);
  }
  neighbourhood_.emplace(form_);
  for (const Control* label : neighbourhood_->labels()) fitCaptionRoom(*label);
}

void QtFormView::fitCaptionRoom(const Control& label) {
  const CaptionRoom room = neighbourhood_->roomOf(
      label,
      [this](const Control& c) {
        const QRect r = widget(c)->geometry();
        return PixelRect{static_cast<double>(r.left()), static_cast<double>(r.top()),
                         static_cast<double>(r.left() + r.width()),
                         static_cast<double>(r.top() + r.height())};
      },
      kCaptionGap);
  if (auto* fitted = dynamic_cast<CaptionLabel*>(widget(label))) fitted->setTextInsets(room.left, room.right);
  if (auto* selfSizing = dynamic_cast<SelfSizingLabel*>(widget(label)))
    selfSizing->setCoveredSpans(room.covered);
}

void QtFormView::applyTabOrder() {
  std::vector<std::pair<int, QWidget*>> order;
  for (const auto& [control, w] : widgets_) {
    if (control->tabIndex() >= 0 && w->focusPolicy() != Qt::NoFocus)
      order.emplace_back(control->tabIndex(), w);
  }
  std::sort(order.begin(), order.end());
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

QPoint QtFormView::pageOffset(const Control& tabControl, int page) const {
  auto* tabs = static_cast<QTabWidget*>(widget(tabControl));
  QWidget* pageWidget = tabs ? tabs->widget(page) : nullptr;
  return pageWidget ? pageWidget->mapTo(tabs, QPoint(0, 0)) : QPoint(0, 0);
}

void QtFormView::place(const Control& c) {
  QWidget* w = widget(c);
  if (!w) return;
  if (c.kind() == ControlKind::StatusBar) {
    placeStatusBars();
    return;
  }
  const PixelEdges edges = scale_.toPixels(c.left(), c.top(), c.width(), c.height());
  QRect rect(edges.left, edges.top, edges.width(), edges.height());
  // Positions on a tab control count from the control's corner, tab strip included.
  if (c.onTabPage()) rect.translate(-pageOffset(*c.container(), c.tabPage()));
  if (c.autoSize() && c.kind() == ControlKind::Label) rect.setSize(w->sizeHint());
  rect = ShownGeometry(c, *w, rect);
  const bool moved = w->geometry() != rect;
  if (moved) w->setGeometry(rect);
  FitContent(c, *w);
  if (!moved) return;
  // Its neighbours' captions, or its own, keep clear of where it stands now.
  if (!neighbourhood_) return;
  for (const Control* label : neighbourhood_->labelsNear(c)) fitCaptionRoom(*label);
}

void QtFormView::placeSliders() {
  for (const auto& [control, w] : widgets_) {
    if (control->kind() == ControlKind::Slider) place(*control);
  }
}

void QtFormView::placeStatusBars() {
  // The status bar is docked: it spans the client area's bottom edge whatever its designed top.
  const QSize client = window_->size();
  for (const auto& [control, w] : widgets_) {
    if (control->kind() != ControlKind::StatusBar) continue;
    const int height = scale_.toPixels(control->height());
    const QRect rect(0, client.height() - height, client.width(), height);
    if (w->geometry() != rect) w->setGeometry(rect);
  }
}

QPoint QtFormView::windowPosition() const {
  return QPoint(scale_.toPixels(form_.left()), scale_.toPixels(form_.top()));
}

QSize QtFormView::clientSize() const {
  return QSize(scale_.toPixels(std::max(0.f, form_.width() - kFrameWidthTwips)),
               scale_.toPixels(std::max(0.f, form_.height() - kFrameHeightTwips)));
}

bool QtFormView::fixedSize() const {
  return form_.design().border != BorderStyle::Sizable;
}

void QtFormView::applyGeometry() {
  const QPoint position = windowPosition();
  const QSize size = clientSize();
  guards_.apply([&] {
    // A window never moved is placed by the window system; the model's position is a request.
    if (!window_->testAttribute(Qt::WA_Moved) || window_->pos() != position) window_->move(position);
    if (fixedSize()) {
      if (window_->minimumSize() != size || window_->maximumSize() != size) window_->setFixedSize(size);
    } else if (window_->size() != size) {
      window_->resize(size);
    }
  });
  placeStatusBars();
  placeSliders();
}

void QtFormView::applyWindowState() {
  if (FromQtState(window_->windowState()) == form_.windowState()) return;
  guards_.apply([this] {
    window_->setWindowState((window_->windowState() & ~kSizeStates) | ToQtState(form_.windowState()));
  });
}

void QtFormView::FormChanged(FormProperty property) {
  switch (property) {
    case FormProperty::Geometry:
      applyGeometry();
      return;
    case FormProperty::WindowState:
      if (!guards_.inStateChange()) {
        applyWindowState();
        return;
      }
      // The model answers a state change of the user's (a maximised window made normal again):
      // the window takes the answer once the event that reported the change is over.
      QMetaObject::invokeMethod(
          filter_,
          [this, alive = guards_.lifetime()] {
            if (!alive.expired()) applyWindowState();
          },
          Qt::QueuedConnection);
      return;
    case FormProperty::Visible: {
      if (window_->isVisible() == form_.visible()) return;
      guards_.apply([this] { window_->setVisible(form_.visible()); });
      return;
    }
    case FormProperty::Caption: {
      const QString caption = QString::fromStdString(form_.caption());
      if (window_->windowTitle() != caption) window_->setWindowTitle(caption);
      return;
    }
  }
}

void QtFormView::ControlChanged(Control& control, ControlProperty property) {
  QWidget* w = widget(control);
  if (!w) return;
  if (property == ControlProperty::Geometry) {
    place(control);
    return;
  }
  MirrorProperty(control, *w, property);
  const bool resizesItself = control.autoSize() && control.kind() == ControlKind::Label;
  if (resizesItself && (property == ControlProperty::Caption || property == ControlProperty::Font))
    place(control);
}

void QtFormView::Activate() {
  if (!window_->isVisible()) return;
  window_->raise();
  window_->activateWindow();
}

void QtFormView::windowMoved() {
  if (guards_.applying() || (window_->windowState() & kSizeStates)) return;
  const QPoint position = window_->pos();
  // The window standing where the model put it is no move of the user's.
  if (position == windowPosition()) return;
  form_.UserMoved(scale_.toTwips(position.x()), scale_.toTwips(position.y()));
}

void QtFormView::windowResized() {
  placeStatusBars();
  placeSliders();
  if (guards_.applying() || (window_->windowState() & kSizeStates)) return;
  const QSize size = window_->size();
  if (size == clientSize()) return;
  form_.UserResized(scale_.toTwips(size.width()) + kFrameWidthTwips,
                    scale_.toTwips(size.height()) + kFrameHeightTwips);
}

void QtFormView::windowStateChanged() {
  if (guards_.applying()) return;
  const WindowState state = FromQtState(window_->windowState());
  if (state == form_.windowState()) return;
  guards_.handStateChange([&] { form_.setWindowState(state); });
}

void QtFormView::closeRequested() {
  form_.UserClose();
}

void QtFormView::windowActivated() {
  if (form_.visible()) form_.Activate();
}

bool QtFormView::keyPreviewed(const QKeyEvent& event) {
  // Only keys that make a character reach the form, as with the toolkit's key-press event.
  if (event.text().isEmpty()) return false;
  const bool survived = guards_.survives([&] { form_.UserKeyPress(event.text().at(0).unicode()); });
  // A form that closed on the key keeps it from its controls.
  return !survived || !form_.visible();
}

void QtFormView::widgetClicked(QWidget& w) {
  const auto found = controlOf_.find(&w);
  if (found != controlOf_.end()) input_.click(*found->second);
}

void QtFormView::pageLaidOut(QWidget& page) {
  for (const auto& [control, w] : widgets_) {
    if (control->onTabPage() && w->parentWidget() == &page) place(*control);
  }
}

}  // namespace volumetra
