#pragma once

namespace volumetra {

/// A rectangle in whole pixels by its edges; right and bottom lie past it.
struct PixelEdges {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

/// Converts between twips (1/1440 inch) and pixels at the screen's DPI, so that the designed
/// layout keeps its physical size whatever the screen.
class TwipsScale {
 public:
  explicit TwipsScale(double dpi) : dpi_(dpi) {}

  double dpi() const { return dpi_; }
  int toPixels(double twips) const;
  /// Whole twips, the way the window systems report a window's position and size.
  float toTwips(int pixels) const;
  /// A rectangle converted by its edges, so that controls that touch in twips touch in pixels.
  PixelEdges toPixels(float left, float top, float width, float height) const;

 private:
  double dpi_;
};

}  // namespace volumetra
