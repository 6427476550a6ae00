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

void CaptionLabel::setCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  fit();
}

void CaptionLabel::setDesignedFont(const QFont& font) {
  if (font == designed_) return;
  designed_ = font;
  sizing_.forgetLastLine();
  if (places_.row()) places_.row()->invalidate();
  fit();
}

void CaptionLabel::setTextInsets(int left, int right) {
  const QMargins margins(left, 0, right, 0);
  if (contentsMargins() == margins) return;
  setContentsMargins(margins);
  fit();
}

void CaptionLabel::joinGroup(std::shared_ptr<CaptionSizeGroup> group) {
  places_.joinGroup(std::move(group));
}

void CaptionLabel::joinRow(std::shared_ptr<CaptionBaseline> row) {
  places_.joinRow(std::move(row));
  update();
}

double CaptionLabel::designedAscent() const {
  return QFontMetricsF(designed_, this).ascent();
}

qreal CaptionLabel::baseline() const {
  return places_.row() ? places_.row()->baseline() : OwnBaseline(*this);
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
  const QRectF area = contentsRect();
  const auto designedPoints = static_cast<float>(designed_.pointSizeF());
  if (area.isEmpty() || designedPoints <= 0) {
    sizing_.fitAsIs(designedPoints);
  } else if (wordWrap()) {
    sizing_.fit(designedPoints, 1.0, false,
                [this, area](float points) { return wrappedShare(points, area); });
  } else {
    sizing_.fit(designedPoints, area.width(), true, [this](float points) {
      return QFontMetricsF(fontAt(points), this).horizontalAdvance(caption_);
    });
  }
  if (places_.group()) {
    places_.group()->refit(this);
  } else {
    showAt(sizing_.own());
  }
}

bool CaptionLabel::fitsAt(float points) {
  return sizing_.fitsAt(points);
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
