#include "platform/qt/status_panel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>

namespace volumetra {
namespace {

// The gap between the panel's edge and the text, as a label's indent.
constexpr int kIndent = 3;
// Antialiased edges may touch the pixels around a glyph's box.
constexpr int kEdge = 1;

// Assistive tools read the panel's line when they ask for it, as they would a label's; nothing is
// sent on each change, so the survey pays nothing for it.
class AccessibleStatusPanel : public QAccessibleWidget {
 public:
  explicit AccessibleStatusPanel(StatusPanel* panel) : QAccessibleWidget(panel, QAccessible::StatusBar) {}
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) return static_cast<const StatusPanel*>(widget())->text();
    return QAccessibleWidget::text(kind);
  }
};

QAccessibleInterface* AccessibleStatusPanelFactory(const QString&, QObject* object) {
  auto* panel = dynamic_cast<StatusPanel*>(object);
  return panel ? new AccessibleStatusPanel(panel) : nullptr;
}

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QFrame(parent), shaper_(font()) {
  [[maybe_unused]] static const bool factoryInstalled =
      (QAccessible::installFactory(AccessibleStatusPanelFactory), true);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  takeFont();
}

void StatusPanel::takeFont() {
  // Measuring text lays it out: done once per font, not per word.
  const QFontMetricsF metrics(font());
  spaceAdvance_ = metrics.horizontalAdvance(QStringLiteral(" "));
  lineHeight_ = metrics.ascent() + metrics.descent();
  words_ = layOut(text_, {});
}

std::vector<StatusPanel::Word> StatusPanel::layOut(const QString& text, const std::vector<Word>& reusable) {
  std::vector<Word> words;
  words.reserve(reusable.size());
  qreal x = 0;
  qsizetype i = 0;
  while (i < text.size()) {
    if (text[i] == u' ') {
      x += spaceAdvance_;
      ++i;
      continue;
    }
    qsizetype end = i;
    while (end < text.size() && text[end] != u' ') ++end;
    const QStringView wordText = QStringView(text).sliced(i, end - i);
    const auto same = std::find_if(reusable.begin(), reusable.end(),
                                   [&wordText](const Word& w) { return w.text == wordText; });
    Word word =
        same != reusable.end() ? *same : Word{wordText.toString(), 0, shaper_.shape(wordText.toString())};
    word.x = x;
    x += word.shaped.advance;
    words.push_back(std::move(word));
    i = end;
  }
  return words;
}

void StatusPanel::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  std::vector<Word> words = layOut(text, words_);
  // A word that keeps its text and place needs no paint; every other old and new place does.
  const auto kept = [](const Word& word, const std::vector<Word>& others) {
    return std::any_of(others.begin(), others.end(),
                       [&word](const Word& w) { return w.x == word.x && w.text == word.text; });
  };
  const QPointF start = origin();
  QRegion dirty;
  for (const Word& word : words_) {
    if (!kept(word, words)) dirty += wordRect(word, start);
  }
  for (const Word& word : words) {
    if (!kept(word, words_)) dirty += wordRect(word, start);
  }
  words_ = std::move(words);
  update(dirty & contentsRect());
}

QPointF StatusPanel::origin() const {
  const QRect contents = contentsRect();
  return {static_cast<qreal>(contents.left() + kIndent),
          contents.top() + (contents.height() - lineHeight_) / 2};
}

QRect StatusPanel::wordRect(const Word& word, QPointF lineStart) {
  const QRectF area = word.shaped.bounds.translated(lineStart + QPointF(word.x, 0));
  return area.toAlignedRect().adjusted(-kEdge, -kEdge, kEdge, kEdge);
}

void StatusPanel::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect contents = contentsRect();
  if (!contents.contains(event->rect())) drawFrame(&painter);
  painter.setClipRect(contents & event->rect());
  painter.setPen(palette().color(foregroundRole()));
  const QPointF start = origin();
  for (const Word& word : words_) {
    if (!wordRect(word, start).intersects(event->rect())) continue;
    for (const QGlyphRun& run : word.shaped.glyphs) painter.drawGlyphRun(start + QPointF(word.x, 0), run);
  }
}

void StatusPanel::changeEvent(QEvent* event) {
  // A new font changes every word's glyphs and place.
  if (event->type() == QEvent::FontChange) {
    shaper_ = WordShaper(font());
    takeFont();
    update();
  }
  QFrame::changeEvent(event);
}

}  // namespace volumetra
