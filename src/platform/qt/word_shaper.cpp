#include "platform/qt/word_shaper.h"

#include <QTextLayout>
#include <algorithm>

namespace volumetra {

bool WordShaper::composesNumbers() {
  if (!composable_) composable_ = measure();
  return *composable_;
}

ShapedWord WordShaper::shape(const QString& word) {
  if (composesNumbers()) {
    if (std::optional<ShapedWord> composed = compose(word)) return *std::move(composed);
  }
  return layOut(word);
}

ShapedWord WordShaper::layOut(const QString& word) const {
  QTextLayout layout(word, font_);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  ShapedWord shaped{line.horizontalAdvance(), QRectF(0, 0, line.horizontalAdvance(), line.height()),
                    layout.glyphRuns()};
  for (const QGlyphRun& run : shaped.glyphs) shaped.bounds |= run.boundingRect();
  return shaped;
}

std::optional<ShapedWord> WordShaper::compose(const QString& word) const {
  if (word.isEmpty()) return std::nullopt;
  QList<quint32> indexes;
  QList<QPointF> positions;
  ShapedWord shaped;
  qreal x = 0;
  std::size_t previous = kLetters;
  for (const QChar c : word) {
    const auto* letter = std::find(std::begin(kAlphabet), std::end(kAlphabet) - 1, c.unicode());
    if (letter == std::end(kAlphabet) - 1) return std::nullopt;
    const auto i = static_cast<std::size_t>(letter - std::begin(kAlphabet));
    if (previous != kLetters) x += pairAdvance_[previous][i];
    indexes.append(glyphs_[i].index);
    positions.append(QPointF(x, baseline_));
    shaped.bounds |= glyphs_[i].bounds.translated(x, 0);
    previous = i;
  }
  shaped.advance = x + glyphs_[previous].advance;
  QGlyphRun run;
  run.setRawFont(rawFont_);
  run.setGlyphIndexes(indexes);
  run.setPositions(positions);
  shaped.glyphs.append(run);
  return shaped;
}

bool WordShaper::measure() {
  for (std::size_t i = 0; i < kLetters; ++i) {
    const ShapedWord single = layOut(QString(QChar(kAlphabet[i])));
    if (single.glyphs.size() != 1 || single.glyphs[0].glyphIndexes().size() != 1) return false;
    const QGlyphRun& run = single.glyphs[0];
    if (i == 0) {
      rawFont_ = run.rawFont();
      baseline_ = run.positions()[0].y();
    }
    if (run.rawFont() != rawFont_ || run.positions()[0] != QPointF(0, baseline_)) return false;
    glyphs_[i] = {run.glyphIndexes()[0], single.advance, single.bounds};
  }
  for (std::size_t i = 0; i < kLetters; ++i) {
    for (std::size_t j = 0; j < kLetters; ++j) {
      const QChar letters[] = {QChar(kAlphabet[i]), QChar(kAlphabet[j])};
      const ShapedWord pair = layOut(QString(letters, 2));
      if (pair.glyphs.size() != 1) return false;
      const QGlyphRun& run = pair.glyphs[0];
      if (run.glyphIndexes() != QList<quint32>{glyphs_[i].index, glyphs_[j].index}) return false;
      pairAdvance_[i][j] = run.positions()[1].x() - run.positions()[0].x();
      if (pair.advance != pairAdvance_[i][j] + glyphs_[j].advance) return false;
    }
  }
  // Pair spacing alone must place a whole run as the engine does (no contextual forms).
  const QString all = QString::fromUtf16(kAlphabet);
  const std::optional<ShapedWord> composed = compose(all);
  const ShapedWord laidOut = layOut(all);
  return composed && laidOut.glyphs.size() == 1 && composed->advance == laidOut.advance &&
         composed->glyphs[0].glyphIndexes() == laidOut.glyphs[0].glyphIndexes() &&
         composed->glyphs[0].positions() == laidOut.glyphs[0].positions();
}

}  // namespace volumetra
