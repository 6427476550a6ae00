#include "platform/qt/self_sizing_label.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include "platform/qt/qt_look.h"

namespace volumetra {

SelfSizingLabel::SelfSizingLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
}

void SelfSizingLabel::setCoveredSpans(std::vector<Extent> spans) {
  if (spans == covered_) return;
  covered_ = std::move(spans);
  update();
}

bool SelfSizingLabel::clear(qreal left, qreal right) const {
  for (const Extent& span : covered_) {
    if (left < span.right && right > span.left) return false;
  }
  return true;
}

void SelfSizingLabel::paintEvent(QPaintEvent* event) {
  if (covered_.empty()) {
    QLabel::paintEvent(event);
    return;
  }
  QTextLayout layout(text(), font(), this);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  if (!line.isValid()) return;
  QPainter painter(this);
  painter.setPen(TextColour(*this));
  const QPointF origin = contentsRect().topLeft();
  for (const QGlyphRun& run : line.glyphRuns()) {
    const QRawFont raw = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    QList<quint32> keptGlyphs;
    QList<QPointF> keptPositions;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
      const QRectF ink = raw.boundingRect(glyphs[i]).translated(origin + positions[i]);
      if (ink.isEmpty() || !clear(ink.left(), ink.right())) continue;
      keptGlyphs.push_back(glyphs[i]);
      keptPositions.push_back(positions[i]);
    }
    QGlyphRun kept = run;
    kept.setGlyphIndexes(keptGlyphs);
    kept.setPositions(keptPositions);
    painter.drawGlyphRun(origin, kept);
  }
}

}  // namespace volumetra
