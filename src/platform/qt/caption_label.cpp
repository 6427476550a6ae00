#include "platform/qt/caption_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

#include "platform/qt/qt_look.h"
#include "platform/text_fit.h"

namespace volumetra {
namespace {

const QString kEllipsis = QStringLiteral("\u2026");

}  // namespace

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent), designed_(font()) {
  setTextFormat(Qt::PlainText);
}

CaptionLabel::~CaptionLabel() {
  if (group_) group_->remove(*this);
  if (row_) row_->remove(*this);
}

void CaptionLabel::setCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  fit();
}

void CaptionLabel::setDesignedFont(const QFont& font) {
  if (font == designed_) return;
  designed_ = font;
  lastLineFit_ = {};
  if (row_) row_->invalidate();
  fit();
}

void CaptionLabel::setTextInsets(int left, int right) {
  const QMargins margins(left, 0, right, 0);
  if (contentsMargins() == margins) return;
  setContentsMargins(margins);
  fit();
}

void CaptionLabel::joinGroup(std::shared_ptr<CaptionSizeGroup> group) {
  if (group_) group_->remove(*this);
  group_ = std::move(group);
  if (group_) group_->add(*this);
}

void CaptionLabel::joinRow(std::shared_ptr<CaptionBaseline> row) {
  if (row_) row_->remove(*this);
  row_ = std::move(row);
  if (row_) row_->add(*this);
  update();
}

double CaptionLabel::designedAscent() const {
  return QFontMetricsF(designed_, this).ascent();
}

qreal CaptionLabel::baseline() const {
  return row_ ? row_->baseline() : OwnBaseline(*this);
}

void CaptionLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  if (size() != fittedSize_) fit();
}

QFont CaptionLabel::fontAt(float points) const {
  QFont font = designed_;
  if (font.pointSizeF() != points) font.setPointSizeF(points);
  return font;
}

int CaptionLabel::textFlags() const {
  // As the label draws its plain text.
  return static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
}

bool CaptionLabel::drawsOnBaseline() const {
  return alignment() & Qt::AlignTop;
}

void CaptionLabel::fit() {
  fittedSize_ = size();
  lastAnswer_.reset();
  const QRectF area = contentsRect();
  const auto designedPoints = static_cast<float>(designed_.pointSizeF());
  // A label without room, or a font not sized in points, shows its caption as it is.
  ownPoints_ = designedPoints;
  if (!area.isEmpty() && designedPoints > 0) {
    ownPoints_ = wordWrap()
                     ? FittingPoints(designedPoints, 1.0, [&](float p) { return wrappedShare(p, area); })
                     : linePoints(area.width());
  }
  if (group_) {
    group_->refit(this);
  } else {
    showAt(ownPoints_);
  }
}

bool CaptionLabel::fitsAt(float points) {
  const QRectF area = contentsRect();
  if (area.isEmpty() || designed_.pointSizeF() <= 0) return true;
  if (ownPoints_ && *ownPoints_ == points) return true;
  if (lastAnswer_ && lastAnswer_->points == points) return lastAnswer_->fits;
  const bool fits = wordWrap()
                        ? wrappedShare(points, area) <= 1
                        : QFontMetricsF(fontAt(points), this).horizontalAdvance(caption_) <= area.width();
  lastAnswer_ = FitAnswer{points, fits};
  return fits;
}

void CaptionLabel::showAt(std::optional<float> points) {
  const QFont font =
      fontAt(points.value_or(std::min(static_cast<float>(designed_.pointSizeF()), kSmallestFittingPoints)));
  const bool whole = points && fitsAt(*points);
  const QString shown = whole ? caption_ : elided(font);
  textRect_ = wordWrap()
                  ? QFontMetricsF(font, this).boundingRect(contentsRect(), textFlags(), shown).toAlignedRect()
                  : QRect();
  if (this->font() != font) setFont(font);
  if (text() != shown) setText(shown);
  // Assistive tools read the whole caption of a shortened one.
  const QString name = whole ? QString() : caption_;
  if (accessibleName() != name) setAccessibleName(name);
}

std::optional<float> CaptionLabel::linePoints(qreal available) {
  const auto designedPoints = static_cast<float>(designed_.pointSizeF());
  const auto widthAt = [&](float points) {
    return QFontMetricsF(fontAt(points), this).horizontalAdvance(caption_);
  };
  const qreal designedWidth = widthAt(designedPoints);
  if (designedWidth <= available) return designedPoints;
  // A number that changes on every survey mostly keeps its width from one value to the next: the
  // size found for the last caption of the same width is tried first, one measurement instead of
  // a search.
  const LineFit& last = lastLineFit_;
  if (last.points && last.designedWidth == designedWidth && last.available == available &&
      widthAt(*last.points) <= available) {
    return last.points;
  }
  const auto measured = [&](float points) {
    return points == designedPoints ? designedWidth : widthAt(points);
  };
  const std::optional<float> found = FittingPoints(designedPoints, available, measured);
  lastLineFit_ = {designedWidth, available, found};
  return found;
}

qreal CaptionLabel::wrappedShare(float points, const QRectF& area) const {
  const QRectF used = QFontMetricsF(fontAt(points), this).boundingRect(area, textFlags(), caption_);
  return std::max(used.width() / area.width(), used.height() / area.height());
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
  if (!drawsOnBaseline()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.setPen(TextColour(*this));
  painter.setFont(font());
  const QRectF area = contentsRect();
  if (wordWrap()) {
    // The first line on the baseline, the lines under it as they wrap.
    const qreal drop = baseline() - QFontMetricsF(font(), this).ascent();
    painter.drawText(area.translated(0, drop), textFlags(), text());
    return;
  }
  // One line on the baseline, placed across as the label aligns it.
  const qreal width = QFontMetricsF(font(), this).horizontalAdvance(text());
  qreal x = area.left();
  if (alignment() & Qt::AlignRight) {
    x = area.right() - width;
  } else if (alignment() & Qt::AlignHCenter) {
    x = area.left() + (area.width() - width) / 2;
  }
  painter.drawText(QPointF(x, area.top() + baseline()), text());
}

QString CaptionLabel::elided(const QFont& font) const {
  const QFontMetricsF metrics(font, this);
  const QRectF area = contentsRect();
  const Qt::TextElideMode mode = alignment() & Qt::AlignRight ? Qt::ElideLeft : Qt::ElideRight;
  if (!wordWrap()) return metrics.elidedText(caption_, mode, area.width());
  // Wrapped lines: keep as many characters as still fit beside the ellipsis.
  const auto shortened = [&](qsizetype kept) {
    return mode == Qt::ElideLeft ? kEllipsis + caption_.right(kept) : caption_.left(kept) + kEllipsis;
  };
  const auto fits = [&](const QString& text) {
    const QRectF used = metrics.boundingRect(area, textFlags(), text);
    return used.width() <= area.width() && used.height() <= area.height();
  };
  qsizetype low = 0;
  qsizetype high = caption_.size();
  while (low < high) {
    const qsizetype middle = (low + high + 1) / 2;
    if (fits(shortened(middle))) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return shortened(low);
}

}  // namespace volumetra
