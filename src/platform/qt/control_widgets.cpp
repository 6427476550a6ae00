#include "platform/qt/control_widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>

#include "platform/caption_groups.h"
#include "platform/qt/caption_check_box.h"
#include "platform/qt/caption_label.h"
#include "platform/qt/picture_pixmap.h"
#include "platform/qt/qt_look.h"
#include "platform/qt/self_sizing_label.h"

namespace volumetra {
namespace {

// Fore and back colour are written together as one palette.
constexpr ControlProperty kAllProperties[] = {
    ControlProperty::Visible,   ControlProperty::Enabled, ControlProperty::Caption, ControlProperty::ToolTip,
    ControlProperty::ForeColor, ControlProperty::Font,    ControlProperty::Value,   ControlProperty::Text,
};

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

Qt::Alignment ToQtAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::Right:
      return Qt::AlignRight | Qt::AlignTop;
    case Alignment::Center:
      return Qt::AlignHCenter | Qt::AlignTop;
    case Alignment::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignTop;
}

Qt::CheckState ToCheckState(int value) {
  switch (value) {
    case kChecked:
      return Qt::Checked;
    case kGrayed:
      return Qt::PartiallyChecked;
    default:
      return Qt::Unchecked;
  }
}

QLabel* MakeLabel(const Control& c, QWidget* parent) {
  // A fixed-size label fits its caption to its size; one that sizes itself to its caption, and
  // an image, need no fitting.
  QLabel* label = nullptr;
  if (FitsCaption(c)) {
    label = new CaptionLabel(parent);
  } else if (c.kind() == ControlKind::Label) {
    label = new SelfSizingLabel(parent);
  } else {
    label = new QLabel(parent);
  }
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(ToQtAlignment(c.alignment()));
  // A one-line label (a table cell) keeps one line, so "Ram/TMPFS" never loses its second word
  // to an invisible line.
  label->setWordWrap(WrapsCaption(c));
  return label;
}

QWidget* MakeSlider(const Control& c, QWidget* parent) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setRange(c.min(), c.max());
  slider->setSingleStep(c.smallChange());
  slider->setPageStep(c.largeChange());
  return slider;
}

QWidget* MakeTabWidget(const Control& c, QWidget* parent) {
  auto* tabs = new QTabWidget(parent);
  for (const std::string& caption : c.tabCaptions()) tabs->addTab(new QWidget, ToQString(caption));
  return tabs;
}

QWidget* MakeFrame(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  return frame;
}

// A control paints its back colour; one without a back colour takes the system's face colour.
// Inside a frame or on a tab page that face colour is the container's own, so such a control
// lets its container show through and blends in as the designed controls do. Buttons, text
// boxes, images and the tab control paint themselves.
bool PaintsBackground(const Control& c) {
  switch (c.kind()) {
    case ControlKind::CommandButton:
    case ControlKind::TextBox:
    case ControlKind::Image:
    case ControlKind::TabControl:
      return false;
    case ControlKind::Shape:
      return true;
    default:
      return c.backColor().has_value() || c.container() == nullptr;
  }
}

void MirrorCaption(const Control& c, QWidget& w) {
  const QString text = ToQString(c.caption());
  switch (c.kind()) {
    case ControlKind::Label: {
      if (auto* fitted = dynamic_cast<CaptionLabel*>(&w)) {
        fitted->setCaption(text);
        return;
      }
      auto& label = static_cast<QLabel&>(w);
      if (label.text() != text) label.setText(text);
      return;
    }
    case ControlKind::StatusBar: {
      auto& bar = static_cast<QStatusBar&>(w);
      if (bar.currentMessage() != text) bar.showMessage(text);
      return;
    }
    case ControlKind::CheckBox:
      static_cast<CaptionCheckBox&>(w).setCaption(text);
      return;
    case ControlKind::CommandButton:
    case ControlKind::OptionButton: {
      auto& button = static_cast<QAbstractButton&>(w);
      if (button.text() != text) button.setText(text);
      return;
    }
    case ControlKind::TextBox: {
      auto& edit = static_cast<QLineEdit&>(w);
      if (edit.text() != text) edit.setText(text);
      return;
    }
    default:
      return;  // shapes, sliders, frames, images and the tab control show no caption
  }
}

void MirrorValue(const Control& c, QWidget& w) {
  switch (c.kind()) {
    case ControlKind::CheckBox: {
      auto& box = static_cast<QCheckBox&>(w);
      const Qt::CheckState state = ToCheckState(c.value());
      if (box.checkState() == state) return;
      const QSignalBlocker block(box);
      box.setCheckState(state);
      return;
    }
    case ControlKind::OptionButton: {
      auto& button = static_cast<QRadioButton&>(w);
      if (button.isChecked() == (c.value() != 0)) return;
      const QSignalBlocker block(button);
      button.setChecked(c.value() != 0);
      return;
    }
    case ControlKind::Slider: {
      auto& slider = static_cast<QSlider&>(w);
      if (slider.value() == c.value() && slider.sliderPosition() == c.value()) return;
      const QSignalBlocker block(slider);
      slider.setSliderPosition(c.value());
      slider.setValue(c.value());
      return;
    }
    case ControlKind::TabControl: {
      auto& tabs = static_cast<QTabWidget&>(w);
      if (tabs.currentIndex() == c.value()) return;
      const QSignalBlocker block(tabs);
      tabs.setCurrentIndex(c.value());
      return;
    }
    default:
      return;
  }
}

void MirrorColours(const Control& c, QWidget& w) {
  const QPalette palette = ControlPalette(c.foreColor(), c.backColor());
  if (w.palette() != palette) w.setPalette(palette);
  if (w.autoFillBackground() != PaintsBackground(c)) w.setAutoFillBackground(PaintsBackground(c));
}

void MirrorFont(const Control& c, QWidget& w) {
  const QFont font = DesignFont(c.font());
  // A fitted caption may be drawn smaller than designed.
  if (auto* fitted = dynamic_cast<CaptionLabel*>(&w)) {
    fitted->setDesignedFont(font);
    return;
  }
  if (w.font() != font) w.setFont(font);
}

}  // namespace

QString WidgetName(const Control& control) {
  QString name = ToQString(control.name());
  if (control.index() >= 0) name += QStringLiteral("(%1)").arg(control.index());
  return name;
}

QWidget* CreateControlWidget(const Control& c, QWidget* parent) {
  QWidget* w = nullptr;
  switch (c.kind()) {
    case ControlKind::Label:
      w = MakeLabel(c, parent);
      break;
    case ControlKind::Shape:
      w = new QWidget(parent);
      // A shape is drawn, not a window: clicks go to what lies under it.
      w->setAttribute(Qt::WA_TransparentForMouseEvents);
      break;
    case ControlKind::CommandButton: {
      auto* button = new QPushButton(parent);
      // Return and Enter press the focused button as Space does, as on every desktop.
      button->setAutoDefault(true);
      w = button;
      break;
    }
    case ControlKind::CheckBox: {
      auto* box = new CaptionCheckBox(parent);
      box->setTristate(true);
      w = box;
      break;
    }
    case ControlKind::OptionButton: {
      auto* button = new QRadioButton(parent);
      // The model keeps the group exclusive; Qt's own exclusivity would fight it.
      button->setAutoExclusive(false);
      w = button;
      break;
    }
    case ControlKind::TextBox:
      w = new QLineEdit(parent);
      break;
    case ControlKind::Slider:
      w = MakeSlider(c, parent);
      break;
    case ControlKind::StatusBar: {
      // The toolkit's status bar shows the line as its message: it repaints only the message's
      // area on a change and gives assistive tools the line as the bar's name.
      auto* bar = new QStatusBar(parent);
      bar->setSizeGripEnabled(false);
      w = bar;
      break;
    }
    case ControlKind::Frame:
      w = MakeFrame(parent);
      break;
    case ControlKind::Image:
      w = MakeLabel(c, parent);
      break;
    case ControlKind::TabControl:
      w = MakeTabWidget(c, parent);
      break;
  }
  w->setObjectName(WidgetName(c));
  w->setAutoFillBackground(PaintsBackground(c));
  return w;
}

void MirrorAllProperties(const Control& control, QWidget& widget) {
  for (ControlProperty property : kAllProperties) MirrorProperty(control, widget, property);
}

void MirrorProperty(const Control& c, QWidget& w, ControlProperty property) {
  switch (property) {
    case ControlProperty::Geometry:
      return;
    case ControlProperty::Visible:
      if (w.isVisibleTo(w.parentWidget()) != c.visible()) w.setVisible(c.visible());
      return;
    case ControlProperty::Enabled:
      if (w.isEnabledTo(w.parentWidget()) != c.enabled()) w.setEnabled(c.enabled());
      return;
    case ControlProperty::Caption:
    case ControlProperty::Text:
      MirrorCaption(c, w);
      return;
    case ControlProperty::ToolTip:
      if (w.toolTip() != ToQString(c.toolTip())) w.setToolTip(ToQString(c.toolTip()));
      return;
    case ControlProperty::ForeColor:
    case ControlProperty::BackColor:
      MirrorColours(c, w);
      return;
    case ControlProperty::Font:
      MirrorFont(c, w);
      return;
    case ControlProperty::Value:
      MirrorValue(c, w);
      return;
  }
}

QRect ShownGeometry(const Control& c, const QWidget& w, QRect rect) {
  switch (c.kind()) {
    case ControlKind::CheckBox:
    case ControlKind::OptionButton: {
      const QStyle::PixelMetric metric = c.kind() == ControlKind::CheckBox
                                             ? QStyle::PM_IndicatorHeight
                                             : QStyle::PM_ExclusiveIndicatorHeight;
      const int indicator = w.style()->pixelMetric(metric, nullptr, &w);
      if (rect.height() < indicator) {
        rect.setTop(rect.top() - (indicator - rect.height()) / 2);
        rect.setHeight(indicator);
      }
      return rect;
    }
    case ControlKind::Slider: {
      const QWidget* parent = w.parentWidget();
      if (parent && rect.bottom() > parent->rect().bottom()) rect.setBottom(parent->rect().bottom());
      return rect;
    }
    default:
      return rect;
  }
}

void FitContent(const Control& c, QWidget& w) {
  if (c.kind() != ControlKind::Image) return;
  auto& label = static_cast<QLabel&>(w);
  const double ratio = w.devicePixelRatioF();
  const QPixmap current = label.pixmap();
  const QSize deviceSize(qRound(w.width() * ratio), qRound(w.height() * ratio));
  if (!current.isNull() && current.size() == deviceSize) return;
  label.setPixmap(PicturePixmap(c.picture(), c.pictureSize(), w.size(), ratio));
}

}  // namespace volumetra
