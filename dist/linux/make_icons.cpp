// Writes the program's icon files from the about box's logo, in the layout of the hicolor icon
// theme: <directory>/<n>x<n>/apps/<name>.png for every icon size and
// <directory>/scalable/apps/<name>.svg.
// Usage: volumetra_icons <directory> <name>
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>
#include <fstream>

#include "platform/picture_svg.h"
#include "platform/qt/picture_pixmap.h"
#include "windows/logo.h"

int main(int argc, char** argv) {
  using namespace volumetra;
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <directory> <name>\n", argv[0]);
    return 2;
  }
  const QString directory = QString::fromLocal8Bit(argv[1]);
  const QString name = QString::fromLocal8Bit(argv[2]);
  for (const int pixels : kIconSizes) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(directory).arg(pixels);
    const QString file = folder + "/" + name + ".png";
    if (!QDir().mkpath(folder) || !PictureIconImage(kLogo, kLogoSize, pixels).save(file, "PNG")) {
      std::fprintf(stderr, "volumetra_icons: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  const QString folder = directory + "/scalable/apps";
  const QString file = folder + "/" + name + ".svg";
  std::ofstream svg;
  if (QDir().mkpath(folder)) svg.open(file.toStdString(), std::ios::binary | std::ios::trunc);
  svg << PictureSvg(kLogo, kLogoSize);
  svg.close();
  if (!svg) {
    std::fprintf(stderr, "volumetra_icons: cannot write %s\n", qPrintable(file));
    return 1;
  }
  return 0;
}
