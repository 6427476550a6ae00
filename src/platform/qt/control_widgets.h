#pragma once

#include <QWidget>

#include "platform/control.h"

namespace volumetra {

/// The widget that mirrors a control of `kind`: a label (a CaptionLabel when it has a fixed size, a
/// SelfSizingLabel when it sizes itself to its caption), a plain filled rectangle for a shape, a
/// push button, a check box with a wrapping caption, a radio button, line edit, horizontal slider,
/// the toolkit's status bar, a box frame, a picture label for an image, or a tab widget with one
/// page per tab.
QWidget* CreateControlWidget(const Control& control, QWidget* parent);

/// Shows every property of `control` except its geometry on `widget`.
void MirrorAllProperties(const Control& control, QWidget& widget);

/// Shows one property of `control` on `widget`, writing only what the widget does not show yet;
/// signals are blocked while a value is written so that no change comes back as user input.
/// Geometry is placed by the form view.
void MirrorProperty(const Control& control, QWidget& widget, ControlProperty property);

/// Where the widget of `c` goes for its designed rectangle `rect`, in its parent's pixels: a check
/// box or option button at least as tall as the style's indicator, grown about its middle, so the
/// indicator is drawn whole; a slider no further down than its parent shows, so that it lays out
/// its handle within what is seen. Everything else where it is designed.
QRect ShownGeometry(const Control& c, const QWidget& w, QRect rect);

/// Redraws what depends on the widget's size (an image's stretched picture).
void FitContent(const Control& control, QWidget& widget);

/// The object name of a control's widget: "Command1", or "Label2(3)" for an array element.
QString WidgetName(const Control& control);

}  // namespace volumetra
