#include "platform/qt/caption_check_box.h"

#include <QEvent>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace volumetra {

CaptionCheckBox::CaptionCheckBox(QWidget* parent) : QCheckBox(parent), caption_(new CaptionLabel(this)) {
  caption_->setWordWrap(true);
  caption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Clicks on the caption are the box's.
  caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
  caption_->setDesignedFont(font());
  placeCaption();
}

void CaptionCheckBox::setCaption(const QString& caption) {
  if (text() != caption) setText(caption);
  caption_->setCaption(caption);
}

void CaptionCheckBox::placeCaption() {
  QStyleOptionButton option;
  initStyleOption(&option);
  const QRect contents = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
  if (caption_->geometry() != contents) caption_->setGeometry(contents);
}

void CaptionCheckBox::resizeEvent(QResizeEvent* event) {
  QCheckBox::resizeEvent(event);
  placeCaption();
}

void CaptionCheckBox::changeEvent(QEvent* event) {
  QCheckBox::changeEvent(event);
  if (event->type() == QEvent::FontChange) caption_->setDesignedFont(font());
  if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) placeCaption();
}

bool CaptionCheckBox::hitButton(const QPoint& pos) const {
  return QCheckBox::hitButton(pos) || caption_->geometry().contains(pos);
}

void CaptionCheckBox::paintEvent(QPaintEvent*) {
  // The style draws the indicator; the caption label draws the text.
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  const bool focused = option.state & QStyle::State_HasFocus;
  option.state &= ~QStyle::State_HasFocus;
  painter.drawControl(QStyle::CE_CheckBox, option);
  if (!focused) return;
  // Around the caption's text, with the margins the common style gives a check box's focus frame.
  QStyleOptionFocusRect focus;
  focus.QStyleOption::operator=(option);
  focus.state |= QStyle::State_HasFocus;
  focus.rect = caption_->textRect().translated(caption_->pos()).adjusted(-3, -2, 3, 2) & rect();
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

}  // namespace volumetra
