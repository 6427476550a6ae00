#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>
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

/// The colour a widget's text is drawn in, as the style draws a label's: its foreground in the
/// colour group of its state (disabled, in the active window, or not).
QColor TextColour(const QWidget& w);

}  // namespace volumetra
