#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

namespace volumetra {

/// The picture of an image control (one text row per pixel row, coloured by `PictureColour`,
/// '.' transparent) at its own size, one image pixel a picture pixel.
QImage PictureImage(const char* const* rows, int pictureSize);

/// The picture stretched to `size` logical pixels without smoothing, drawn for a screen with
/// `devicePixelRatio` device pixels per logical pixel.
QPixmap PicturePixmap(const char* const* rows, int pictureSize, QSize size, double devicePixelRatio);

/// The sizes of an application icon in the desktop's icon theme, in pixels.
inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

/// The picture as a square icon image of `pixels` pixels: each picture pixel is widened to the
/// whole multiple that covers `pixels`, then the image is averaged down to `pixels`. Multiples of
/// the picture's size stay crisp; other sizes get evenly blended edges rather than uneven pixels.
QImage PictureIconImage(const char* const* rows, int pictureSize, int pixels);

/// The picture as an icon at every size of `kIconSizes`.
QIcon PictureIcon(const char* const* rows, int pictureSize);

}  // namespace volumetra
