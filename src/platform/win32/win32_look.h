#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "platform/control_design.h"
#include "platform/rgb.h"
#include "platform/twips_scale.h"
#include "platform/win32/windows_api.h"

namespace volumetra {

/// What the windows are drawn with: twips to pixels at the screen's DPI, the designed fonts at any
/// size on the faces installed here, and solid brushes by colour. Fonts and brushes are made once
/// and kept until the look goes, so controls can share them.
class Win32Look {
 public:
  /// At the screen's DPI (the program is DPI-aware, so this is the real one).
  Win32Look();
  explicit Win32Look(int dpi);
  ~Win32Look();
  Win32Look(const Win32Look&) = delete;
  Win32Look& operator=(const Win32Look&) = delete;

  int dpi() const { return dpi_; }
  int toPixels(double twips) const { return scale_.toPixels(twips); }
  float toTwips(int pixels) const { return scale_.toTwips(pixels); }
  /// A rectangle in twips as pixels; its edges are rounded, so that neighbours stay flush.
  RECT toPixels(float left, float top, float width, float height) const;

  /// `designed` at `points` on the installed face that stands for its face.
  HFONT font(const FontSpec& designed, float points);
  HFONT font(const FontSpec& designed) { return font(designed, designed.points); }
  HBRUSH brush(Rgb colour);
  /// The face `designed` is drawn with here: the first installed of the faces that stand for it.
  std::string installedFace(const std::string& designed);

  /// The width in pixels of `text` in `font`, on one line.
  int textWidth(HFONT font, const std::string& text) const;
  /// The width and height in pixels of `text` in `font`, on one line.
  SIZE textExtent(HFONT font, const std::string& text) const;
  /// The width and height in pixels that `text` in `font` takes when drawn with DrawTextW in
  /// `format` on `width` pixels (words wrapped there with DT_WORDBREAK; a longer word sticks out).
  SIZE textBlock(HFONT font, const std::string& text, int width, UINT format) const;
  /// How far `font` reaches above its baseline, in pixels: where DrawTextW puts the baseline below
  /// the top of a line.
  int ascent(HFONT font) const;

 private:
  /// A memory DC with `font` selected, kept for it: switching a DC's font costs far more than
  /// measuring a text in it.
  HDC measuringDc(HFONT font) const;

  int dpi_;
  TwipsScale scale_;
  HDC facesDc_;
  mutable std::map<HFONT, HDC> measuring_;
  /// By face, height in pixels (negative: the em height) and boldness.
  std::map<std::tuple<std::string, LONG, bool>, HFONT> fonts_;
  std::map<std::uint32_t, HBRUSH> brushes_;
  std::map<std::string, std::string> faces_;
};

/// The system's face colour, the background of dialogs, frames and tab pages.
Rgb FaceColour();

COLORREF ToColorRef(Rgb colour);

}  // namespace volumetra
