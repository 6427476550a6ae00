#include "platform/qt/picture_pixmap.h"

#include <QImage>
#include <cmath>
#include <cstring>

#include "platform/control_design.h"

namespace volumetra {

QPixmap PicturePixmap(const char* const* rows, int pictureSize, QSize size, double devicePixelRatio) {
  if (!rows || pictureSize <= 0 || size.isEmpty()) return {};
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
  const QSize devicePixels(static_cast<int>(std::lround(size.width() * devicePixelRatio)),
                           static_cast<int>(std::lround(size.height() * devicePixelRatio)));
  QPixmap pixmap =
      QPixmap::fromImage(picture.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

}  // namespace volumetra
