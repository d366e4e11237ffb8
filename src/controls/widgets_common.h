#pragma once

#include <QColor>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "controls/colour.h"

// What the controls of widgets.h share: their colours in the palette, the mark of the control
// that has the keyboard, and the clicked buttons whose repaint is held back.
namespace rc {

// Gives `role` the colour in every state of the widget (active, inactive, disabled).
void setPaletteColour(QWidget* widget, QPalette::ColorRole role, Colour colour);

// The mark of the control that has the keyboard, shown once the pupil has moved it with the
// keyboard in this window (as the platform's controls do): a dotted rectangle one pixel wide,
// 3 pixels inside the control, in `colour`. It covers nothing else, so a button keeps the
// colour it shows. (The platform's own focus frame washes its highlight over the whole face.)
void drawFocusMark(QWidget* widget, QPainter& painter, const QColor& colour);

// Black on a light face, white on a dark one: whichever stands out more (relative luminance).
QColor markOn(const QColor& face);

// The buttons whose click is being handled, their own repaint held back until it returns.
std::vector<QPointer<QWidget>>& heldClicks();

// Space, Enter or Return pressed (not repeated): the keys that click a control.
bool isActivationKey(const QKeyEvent* event);

}  // namespace rc
