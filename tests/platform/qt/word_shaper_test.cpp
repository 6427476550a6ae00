// Words composed from measured glyphs must come out exactly as the text engine lays them out.
#include "platform/qt/word_shaper.h"

#include <gtest/gtest.h>

#include <QTextLayout>

#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

struct PlacedGlyphs {
  qreal advance = 0;
  QList<quint32> indexes;
  QList<QPointF> positions;
};

PlacedGlyphs Flatten(qreal advance, const QList<QGlyphRun>& runs) {
  PlacedGlyphs placed{advance, {}, {}};
  for (const QGlyphRun& run : runs) {
    placed.indexes += run.glyphIndexes();
    placed.positions += run.positions();
  }
  return placed;
}

PlacedGlyphs LaidOut(const QString& word, const QFont& font) {
  QTextLayout layout(word, font);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  return Flatten(line.horizontalAdvance(), layout.glyphRuns());
}

QFont Font(const char* family, qreal points) {
  QFont font(QString::fromLatin1(family));
  font.setPointSizeF(points);
  return font;
}

TEST(WordShaper, NumbersDatesAndTimesComeOutAsTheTextEngineLaysThemOut) {
  EnsureQtApplication();
  // Counters, dates and times of several locales, kerning-prone pairs such as "11" and "7.", and
  // words the shaper must hand to the text engine.
  const QString words[] = {"0",       "11",         "1234567890", "21:44:15", "08.12.2026",
                           "12/8/26", "2026-12-08", "7.",         "1,234",    "-5",
                           "No.",     "Testloop",   "PM",         "3a",       "Ärger"};
  for (const QFont& font :
       {Font("Liberation Sans", 8.25), Font("DejaVu Sans", 9), Font("Liberation Sans", 14)}) {
    WordShaper shaper(font);
    EXPECT_TRUE(shaper.composesNumbers()) << font.family().toStdString();
    for (const QString& word : words) {
      const ShapedWord shaped = shaper.shape(word);
      const PlacedGlyphs composed = Flatten(shaped.advance, shaped.glyphs);
      const PlacedGlyphs expected = LaidOut(word, font);
      const std::string where = font.family().toStdString() + " " + word.toStdString();
      EXPECT_EQ(composed.advance, expected.advance) << where;
      EXPECT_EQ(composed.indexes, expected.indexes) << where;
      EXPECT_EQ(composed.positions, expected.positions) << where;
      for (const QPointF& p : composed.positions) EXPECT_TRUE(shaped.bounds.contains(p)) << where;
    }
  }
}

}  // namespace
}  // namespace volumetra
