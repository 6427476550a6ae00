#pragma once

#include <QFont>
#include <QLabel>
#include <QString>
#include <memory>
#include <optional>

#include "platform/caption_fitting.h"

namespace volumetra {

/// A label of fixed size that always shows its whole caption. The caption is drawn in the designed
/// font when it fits the label; otherwise in the largest smaller size of the same font at which it
/// fits (FittingPoints, down to kSmallestFittingPoints); only a caption that does not fit even
/// then is shortened with "…" on the side the label's alignment loses (the start of a
/// right-aligned caption, else the end). A label of a size group (a table column) is drawn at the
/// group's one size instead (CaptionSizeGroup). A word-wrapped label fits its wrapped lines into its height.
/// The caption is measured when it, the designed font, the text insets or the label's size change, never on a
/// repaint.
///
/// A top-aligned caption (its first line) stands on its row's baseline (CaptionBaseline), or else
/// on the designed font's: drawn smaller, it still reads in line with its row.
class CaptionLabel : public QLabel, public FittedCaption {
 public:
  explicit CaptionLabel(QWidget* parent = nullptr);

  /// The whole caption; text() is what is drawn.
  const QString& caption() const { return caption_; }
  void setCaption(const QString& caption);
  /// The font the caption is drawn in when it fits; font() is the one it is drawn in.
  const QFont& designedFont() const { return designed_; }
  void setDesignedFont(const QFont& font);
  /// Room the caption leaves free at the label's left and right edges, in pixels: where a sibling
  /// covers or meets the label.
  void setTextInsets(int left, int right);
  /// The area the drawn lines of a word-wrapped caption cover, in the label's coordinates.
  QRect textRect() const { return textRect_; }
  /// The distance from the top of the label's contents to the baseline a top-aligned caption's
  /// first line is drawn on.
  qreal baseline() const;

  void joinGroup(std::shared_ptr<CaptionSizeGroup> group);
  void joinRow(std::shared_ptr<CaptionBaseline> row);

  std::optional<float> ownPoints() const override { return sizing_.own(); }
  bool fitsAt(float points) override;
  void showAt(std::optional<float> points) override;
  double designedAscent() const override;
  double pixelRatio() const override { return devicePixelRatioF(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void fit();
  /// The share of `area` that the caption's wrapped lines need at `points`, across or down.
  qreal wrappedShare(float points, const QRectF& area) const;
  QFont fontAt(float points) const;
  int textFlags() const;
  bool drawsOnBaseline() const;
  /// The caption shortened with "…" until `fits` holds, at the smallest size.
  QString elided(const QFont& font) const;

  QString caption_;
  QFont designed_;
  // The size the caption was last fitted to; a resize to another size fits it again.
  QSize fittedSize_;
  QRect textRect_;
  CaptionSizing sizing_;
  CaptionPlaces places_{*this};
};

}  // namespace volumetra
