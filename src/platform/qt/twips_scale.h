#pragma once

#include <QRect>

namespace volumetra {

/// Converts between twips (1/1440 inch) and device-independent pixels at the screen's logical DPI,
/// so that the designed layout keeps its physical size and stays crisp on high-DPI screens.
class TwipsScale {
 public:
  explicit TwipsScale(double logicalDpi) : pixelsPerTwip_(logicalDpi / 1440.0) {}

  double pixelsPerTwip() const { return pixelsPerTwip_; }
  int toPixels(double twips) const;
  /// Whole twips, the way the toolkit reports a window's position and size.
  float toTwips(int pixels) const;
  /// A rectangle converted by its edges, so that controls that touch in twips touch in pixels.
  QRect toPixels(float left, float top, float width, float height) const;

 private:
  double pixelsPerTwip_;
};

}  // namespace volumetra
