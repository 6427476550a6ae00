#pragma once

#include <QFrame>
#include <QString>
#include <vector>

#include "platform/qt/word_shaper.h"

namespace volumetra {

/// A window's status bar: a sunken panel showing one line of plain text, left-aligned and centred
/// vertically, as a label would show it. The line is kept as words (runs of non-space characters),
/// each laid out once; a new text lays out and repaints only the words that changed or moved. The
/// main window's status line changes its counter on every survey and its clock every second, so a
/// change costs a few glyphs instead of the whole line.
class StatusPanel : public QFrame {
 public:
  explicit StatusPanel(QWidget* parent = nullptr);

  QString text() const { return text_; }
  void setText(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Word {
    QString text;
    qreal x = 0;  // from the start of the line
    ShapedWord shaped;
  };

  /// The words of `text` with their positions, reusing the layouts of `reusable` words.
  std::vector<Word> layOut(const QString& text, const std::vector<Word>& reusable);
  /// The area a word of the line starting at `lineStart` may paint, its glyphs' overhang included.
  static QRect wordRect(const Word& word, QPointF lineStart);
  /// Where the line starts: the contents' left edge after the indent, and the text box's top.
  QPointF origin() const;
  /// Takes the measures of the current font and lays the line out again.
  void takeFont();

  QString text_;
  WordShaper shaper_;
  qreal spaceAdvance_ = 0;
  qreal lineHeight_ = 0;
  std::vector<Word> words_;
};

}  // namespace volumetra
