// The row-by-row drawing: any wheel, whatever the picture cuts of it.
#pragma once

#include "controls/surface.h"
#include "pictures/wheel/wheel.h"

namespace rc::wheel {

// Draws a wheel row by row, over whatever its disc holds: every pixel of the disc gets the
// sector of its angle, rows cut by few radius lines run by run, the others pixel by pixel; a few
// passes over the disc's pixels, whatever n is. Thin wheels go to drawThinSectors.
void drawRowByRow(const Wheel& wheel, Surface::Rows rows);

// Draws a thin wheel (see Wheel::thin): the disc outline, and one patch of colour for every
// sector, grown from the first pixel that may hold colour walking inwards from the rim.
void drawThinSectors(const Wheel& wheel, Surface::Rows rows);

}  // namespace rc::wheel
