#include "platform/qt/picture_pixmap.h"

#include <cmath>
#include <cstring>

#include "platform/control_design.h"

namespace volumetra {

QImage PictureImage(const char* const* rows, int pictureSize) {
  if (!rows || pictureSize <= 0) return {};
  QImage picture(pictureSize, pictureSize, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  for (int y = 0; y < pictureSize; ++y) {
    const int length = static_cast<int>(std::strlen(rows[y]));
    for (int x = 0; x < pictureSize && x < length; ++x) {
      if (rows[y][x] == '.') continue;
      const Rgb colour = PictureColour(rows[y][x]);
      picture.setPixel(x, y, qRgb(colour.r, colour.g, colour.b));
    }
  }
  return picture;
}

QPixmap PicturePixmap(const char* const* rows, int pictureSize, QSize size, double devicePixelRatio) {
  if (!rows || pictureSize <= 0 || size.isEmpty()) return {};
  const QSize devicePixels(static_cast<int>(std::lround(size.width() * devicePixelRatio)),
                           static_cast<int>(std::lround(size.height() * devicePixelRatio)));
  QPixmap pixmap = QPixmap::fromImage(
      PictureImage(rows, pictureSize).scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

QImage PictureIconImage(const char* const* rows, int pictureSize, int pixels) {
  if (!rows || pictureSize <= 0 || pixels <= 0) return {};
  const int multiple = (pixels + pictureSize - 1) / pictureSize;
  const QImage widened = PictureImage(rows, pictureSize)
                             .scaled(pictureSize * multiple, pictureSize * multiple, Qt::IgnoreAspectRatio,
                                     Qt::FastTransformation);
  if (widened.width() == pixels) return widened;
  return widened.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QIcon PictureIcon(const char* const* rows, int pictureSize) {
  QIcon icon;
  for (const int pixels : kIconSizes)
    icon.addPixmap(QPixmap::fromImage(PictureIconImage(rows, pictureSize, pixels)));
  return icon;
}

}  // namespace volumetra
