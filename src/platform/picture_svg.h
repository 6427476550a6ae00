#pragma once

#include <string>

namespace volumetra {

/// An image control's picture (one text row per pixel row, coloured by `PictureColour`, '.'
/// transparent) as an SVG image of `pictureSize` x `pictureSize` units, one unit a pixel, drawn
/// with crisp edges at any size. Each block of equal pixels that repeats on consecutive rows is
/// one rectangle.
std::string PictureSvg(const char* const* rows, int pictureSize);

}  // namespace volumetra
