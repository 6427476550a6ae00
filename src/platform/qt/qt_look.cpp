#include "platform/qt/qt_look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

#include "platform/font_faces.h"

namespace volumetra {
namespace {

const QPalette::ColorRole kTextRoles[] = {QPalette::WindowText, QPalette::ButtonText, QPalette::Text};
const QPalette::ColorRole kBackRoles[] = {QPalette::Window, QPalette::Button, QPalette::Base};

QPalette PinnedSystemPalette() {
  QPalette pinned = QApplication::palette();
  for (int group = 0; group < QPalette::NColorGroups; ++group) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      if (role == QPalette::NoRole) continue;
      const auto g = static_cast<QPalette::ColorGroup>(group);
      const auto r = static_cast<QPalette::ColorRole>(role);
      pinned.setColor(g, r, pinned.color(g, r));
    }
  }
  return pinned;
}

}  // namespace

QColor ToQColor(Rgb colour) {
  return QColor(colour.r, colour.g, colour.b);
}

QFont DesignFont(const FontSpec& designed) {
  static const QStringList installed = QFontDatabase::families();
  QFont font(
      QString::fromStdString(InstalledFace(designed.face, FaceSystem::Linux, [](const std::string& face) {
        return installed.contains(QString::fromStdString(face));
      })));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(designed.points);
  font.setBold(designed.bold);
  return font;
}

QPalette ControlPalette(const std::optional<Rgb>& fore, const std::optional<Rgb>& back) {
  static const QPalette pinned = PinnedSystemPalette();
  QPalette palette = pinned;
  if (fore) {
    for (QPalette::ColorRole role : kTextRoles) {
      palette.setColor(QPalette::Active, role, ToQColor(*fore));
      palette.setColor(QPalette::Inactive, role, ToQColor(*fore));
    }
  }
  if (back) {
    for (QPalette::ColorRole role : kBackRoles) palette.setColor(role, ToQColor(*back));
  }
  return palette;
}

QColor TextColour(const QWidget& w) {
  const QPalette::ColorGroup group = !w.isEnabled()       ? QPalette::Disabled
                                     : w.isActiveWindow() ? QPalette::Active
                                                          : QPalette::Inactive;
  return w.palette().color(group, w.foregroundRole());
}

}  // namespace volumetra
