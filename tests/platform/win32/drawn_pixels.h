#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace volumetra {

/// Pixels as 0x00RRGGBB, row by row from the top.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  bool contains(POINT p) const { return p.x >= 0 && p.y >= 0 && p.x < width && p.y < height; }
  std::uint32_t at(POINT p) const {
    return pixels[static_cast<std::size_t>(p.y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(p.x)];
  }
  friend bool operator==(const Image&, const Image&) = default;
};

/// A 32-bit top-down bitmap in a memory DC, to draw into and read pixel by pixel.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  Image image() const;

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  const std::uint32_t* bits_ = nullptr;
};

/// A colour as the pixels of an Image hold it.
std::uint32_t PixelOf(COLORREF colour);

/// What the client area of the top-level `window` shows, its controls included, as the screen
/// gets it (read from the window's DC once everything is painted).
Image Shown(HWND window);
/// What the control `window` draws into a snapshot of it (WM_PRINTCLIENT).
Image Drawn(HWND window);

/// The pixels of `image` within `area` (all of it when empty) that are not `background`, and the
/// box around them.
struct Ink {
  std::vector<POINT> pixels;
  RECT box{0, 0, 0, 0};
  bool empty() const { return pixels.empty(); }
  int width() const { return box.right - box.left; }
  int height() const { return box.bottom - box.top; }
};
Ink InkOf(const Image& image, std::uint32_t background, RECT area = {});

/// The ink box of `text` drawn alone in `font` with room on every side (DrawTextW in `format`,
/// `width` pixels wide), and how far its ink reaches below the baseline.
struct FreeInk {
  RECT box;
  int belowBaseline;
};
FreeInk FreeInkOf(HFONT font, const std::string& text, UINT format, int width);

/// `window`'s rectangle in the client coordinates of the top-level window `top`.
RECT RectIn(HWND window, HWND top);

}  // namespace volumetra
