#pragma once

#include <QFont>
#include <QLabel>
#include <QString>
#include <optional>

namespace volumetra {

/// A label of fixed size that always shows its whole caption. The caption is drawn in the designed
/// font when it fits the label; otherwise in the largest smaller size of the same font at which it
/// fits (FittingPoints, down to kSmallestFittingPoints); only a caption that does not fit even
/// then is shortened with "…" on the side the label's alignment loses (the start of a
/// right-aligned caption, else the end). A word-wrapped label fits its wrapped lines into its
/// height. The caption is measured when it, the designed font or the label's size changes, never
/// on a repaint.
class CaptionLabel : public QLabel {
 public:
  explicit CaptionLabel(QWidget* parent = nullptr);

  /// The whole caption; text() is what is drawn.
  const QString& caption() const { return caption_; }
  void setCaption(const QString& caption);
  /// The font the caption is drawn in when it fits; font() is the one it is drawn in.
  const QFont& designedFont() const { return designed_; }
  void setDesignedFont(const QFont& font);
  /// The area the drawn lines of a word-wrapped caption cover, in the label's coordinates.
  QRect textRect() const { return textRect_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fit();
  /// The size at which a one-line caption fits `available` pixels.
  std::optional<float> linePoints(qreal available);
  /// The size at which wrapped lines fit `area`.
  std::optional<float> wrappedPoints(const QRectF& area);
  QFont fontAt(float points) const;
  int textFlags() const;
  /// The caption shortened with "…" until `fits` holds, at the smallest size.
  QString elided(const QFont& font) const;

  QString caption_;
  QFont designed_;
  // The size the caption was last fitted to; a resize to another size fits it again.
  QSize fittedSize_;
  QRect textRect_;
  struct LineFit {
    qreal designedWidth = 0;
    qreal available = 0;
    std::optional<float> points;
  };
  LineFit lastLineFit_;
};

}  // namespace volumetra
