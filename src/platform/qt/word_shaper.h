#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>

namespace volumetra {

/// A word's glyphs, placed from the word's start at the top of its line.
struct ShapedWord {
  qreal advance = 0;
  QRectF bounds;  // what the glyphs cover, the advance included
  QList<QGlyphRun> glyphs;
};

/// Shapes single words (no spaces) of one font. A word made only of digits and the separators of
/// numbers, dates and times is put together from glyphs and pair spacings measured once per font,
/// exactly as the text engine would place them; any other word goes through the text engine.
/// Laying text out touches a great deal of code and data, so a counter or a clock that changes
/// twice a second is far cheaper composed than laid out.
class WordShaper {
 public:
  explicit WordShaper(const QFont& font) : font_(font) {}

  /// The first call measures the font's digits and separators.
  ShapedWord shape(const QString& word);
  /// True when the font's digits and separators passed the measurement, so words made of them are
  /// composed rather than laid out.
  bool composesNumbers();

 private:
  static constexpr char16_t kAlphabet[] = u"0123456789.:,/-";
  static constexpr std::size_t kLetters = std::size(kAlphabet) - 1;

  struct Glyph {
    quint32 index = 0;
    qreal advance = 0;
    QRectF bounds;  // from the glyph's origin at the top of the line
  };

  ShapedWord layOut(const QString& word) const;
  std::optional<ShapedWord> compose(const QString& word) const;
  /// Measures every letter of the alphabet and every pair of them; false when a letter is not a
  /// glyph of its own in the font, or a pair is more than two placed glyphs.
  bool measure();

  QFont font_;
  std::optional<bool> composable_;  // measured at first use
  QRawFont rawFont_;
  qreal baseline_ = 0;
  std::array<Glyph, kLetters> glyphs_{};
  /// The advance of the first letter of a pair when the second follows it: kerning included.
  std::array<std::array<qreal, kLetters>, kLetters> pairAdvance_{};
};

}  // namespace volumetra
