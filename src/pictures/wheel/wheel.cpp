// A wheel to draw: its rows in the picture and what every drawing reads from it.
#include "pictures/wheel/wheel.h"

#include <algorithm>
#include <cmath>

namespace rc::wheel {

namespace {

// The last sector painted in the filled colour (sector i is when i + 1 <= k); -1 for none.
std::int32_t lastFilledSector(double k) {
    const double filled = std::isnan(k) ? 0 : std::floor(k);
    return std::int32_t(std::clamp(filled - 1, -1.0, 2147483520.0));
}

// Wholly inside a picture of that size with a pixel to spare, small enough for single-precision
// positions and rows that fit 16 bits.
bool fitsWalk(const Axis& centre, double cy, double radius, int width, int height) {
    const double cx = centre.whole + centre.fraction;
    return radius < 16384 && cx >= radius + 1 && cx + radius <= width - 2 && cy >= radius + 1 &&
           cy + radius <= height - 2 && height < 32768;
}

}  // namespace

bool rowsOfWheel(const Surface& surface, double cx, double cy, double radius, double n, int& first,
                 int& last) {
    const double far = 1e9;  // pixels; beyond that no picture reaches
    if (surface.image().isNull() || !(n >= 1) || !(radius > 0 && radius < far) ||
        !(std::fabs(cx) < far) || !(std::fabs(cy) < far))
        return false;
    const int w = surface.width(), h = surface.height();
    const double top = std::max(0.0, std::ceil(cy - radius));
    const double bottom = std::min(double(h - 1), std::floor(cy + radius));
    if (top > bottom || cx + radius < 0 || cx - radius > w - 1) return false;
    first = int(top), last = int(bottom);
    return true;
}

Wheel::Wheel(const Surface& surface, int firstRow, int lastRow, double cx, double cy, double radius,
             double n, double k, Colour filledColour, Colour emptyColour, Colour outlineColour)
    : width(surface.width()),
      height(surface.height()),
      y0(firstRow),
      y1(lastRow),
      centre(cx),
      cy(cy),
      radius(radius),
      step(6.28318 / n),
      coreRadius(0.7071 / (step + 1e-5) - 1),
      core2(coreRadius > 0 ? coreRadius * coreRadius : -1),
      thin(step < 0.5 && radius * step < 2 && coreRadius < radius),
      walks(coreRadius < radius && fitsWalk(centre, cy, radius, width, height)),
      allOutline(coreRadius >= radius + 1 && fitsWalk(centre, cy, radius, width, height)),
      sectors(centre, cy, n, coreRadius < radius && !thin && !walks),
      lastBlue(lastFilledSector(k)),
      filled(Surface::pixelOf(filledColour)),
      empty(Surface::pixelOf(emptyColour)),
      outline(Surface::pixelOf(outlineColour)),
      rayRow(int(std::clamp(std::floor(cy), -2.0, double(height)))),
      rayFrom(int(std::clamp(centre.ceilAt(0), -1.0, double(width)))),
      centreRow(int(std::clamp(std::floor(cy + 0.5), -2.0, double(height)))),
      centreColumn(int(std::clamp(centre.floorAt(0.5), -2.0, double(width)))) {}

}  // namespace rc::wheel
