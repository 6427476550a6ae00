#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <optional>

#include "platform/control_design.h"
#include "platform/rgb.h"

namespace volumetra {

QColor ToQColor(Rgb colour);

/// The designed font on this machine: the designed faces are mapped to the nearest installed sans
/// face with the same metrics where there is one, at the designed point size and weight.
QFont DesignFont(const FontSpec& designed);

/// The system palette with every role pinned, so that a widget inherits nothing from the colours
/// of the window it sits on, and with `fore` and `back` (when set) as its text and background.
/// Disabled text keeps the system's greyed colour.
QPalette ControlPalette(const std::optional<Rgb>& fore, const std::optional<Rgb>& back);

}  // namespace volumetra
