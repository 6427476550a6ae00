#include "platform/qt/caption_label.h"

#include <QFontMetricsF>
#include <QResizeEvent>
#include <algorithm>

#include "platform/text_fit.h"

namespace volumetra {
namespace {

const QString kEllipsis = QStringLiteral("\u2026");

}  // namespace

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent), designed_(font()) {
  setTextFormat(Qt::PlainText);
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
  fit();
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

void CaptionLabel::fit() {
  fittedSize_ = size();
  const QRectF area = contentsRect();
  const auto designedPoints = static_cast<float>(designed_.pointSizeF());
  textRect_ = QRect();
  // A label without room, or a font not sized in points, shows its caption as it is.
  std::optional<float> points = designedPoints;
  if (!area.isEmpty() && designedPoints > 0)
    points = wordWrap() ? wrappedPoints(area) : linePoints(area.width());
  QFont font = designed_;
  QString shown = caption_;
  if (points) {
    font = fontAt(*points);
  } else {
    font = fontAt(kSmallestFittingPoints);
    shown = elided(font);
    if (wordWrap())
      textRect_ = QFontMetricsF(font, this).boundingRect(area, textFlags(), shown).toAlignedRect();
  }
  // Drawn smaller, a one-line caption keeps the designed baseline, so it reads in line with its row.
  int drop = 0;
  if (!wordWrap() && (alignment() & Qt::AlignTop) && font != designed_) {
    drop = qRound(QFontMetricsF(designed_, this).ascent() - QFontMetricsF(font, this).ascent());
  }
  if (contentsMargins().top() != drop) setContentsMargins(0, drop, 0, 0);
  if (this->font() != font) setFont(font);
  if (text() != shown) setText(shown);
  // Assistive tools read the whole caption of a shortened one.
  const QString name = shown == caption_ ? QString() : caption_;
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

std::optional<float> CaptionLabel::wrappedPoints(const QRectF& area) {
  // The share of the label the wrapped lines need: their width across and their height.
  const auto shareAt = [&](float points) {
    const QRectF used = QFontMetricsF(fontAt(points), this).boundingRect(area, textFlags(), caption_);
    textRect_ = used.toAlignedRect();
    return std::max(used.width() / area.width(), used.height() / area.height());
  };
  return FittingPoints(static_cast<float>(designed_.pointSizeF()), 1.0, shareAt);
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
