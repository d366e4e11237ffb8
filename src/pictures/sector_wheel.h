#pragma once

#include <span>

#include "controls/colour.h"

namespace rc {

class Surface;

// A circle of n equal sectors around (cx, cy): sector i spans the angles i * step to
// (i + 1) * step, counter-clockwise from 3 o'clock with step = 6.28318 / n; it is filled
// with `filled` when i + 1 <= k and with `empty` otherwise, and every sector is bounded by
// outline pixels so that each is one closed region of its colour. No anti-aliasing. The
// circle is exactly the pixels (x, y) with (x - cx)^2 + (y - cy)^2 <= radius^2, and a circle
// moved by whole pixels comes out the same. The cost is bounded by the circle's pixels,
// whatever n is. Nothing is drawn for n < 1, a radius of 0 or less, or positions beyond a
// billion pixels.
void drawSectorWheel(Surface& surface, double cx, double cy, double radius, double n, double k,
                     Colour filled, Colour empty, Colour outline);

// A wheel for clearAndDrawSectorWheels: the arguments of drawSectorWheel.
struct SectorWheel {
    double cx, cy, radius, n, k;
    Colour filled, empty, outline;
};

// Clears the surface to `background` and draws the wheels on it one after the other: the same
// pixels as clear() and a drawSectorWheel for each, in less time.
void clearAndDrawSectorWheels(Surface& surface, Colour background,
                              std::span<const SectorWheel> wheels);

}  // namespace rc
