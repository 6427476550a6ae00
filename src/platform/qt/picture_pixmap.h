#pragma once

#include <QPixmap>
#include <QSize>

namespace volumetra {

/// The picture of an image control (one text row per pixel row, coloured by `PictureColour`,
/// '.' transparent), stretched to `size` logical pixels without smoothing, drawn for a screen
/// with `devicePixelRatio` device pixels per logical pixel.
QPixmap PicturePixmap(const char* const* rows, int pictureSize, QSize size, double devicePixelRatio);

}  // namespace volumetra
