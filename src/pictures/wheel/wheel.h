// A wheel to draw: its disc, its sectors and colours, and which drawing it takes.
#pragma once

#include <QRgb>

#include "controls/surface.h"
#include "pictures/wheel/sectors.h"

namespace rc::wheel {

// Grows a buffer kept from one wheel to the next to at least `size` elements.
template <class T>
void atLeast(std::vector<T>& buffer, std::size_t size) {
    if (buffer.size() < size) buffer.resize(size);
}

// The rows first..last of the picture that a wheel covers; false when nothing is drawn: an
// empty picture, n < 1, no radius, a place out of reach, or a circle wholly beside the picture.
bool rowsOfWheel(const Surface& surface, double cx, double cy, double radius, double n, int& first,
                 int& last);

// What every wheel is painted from: the rows it covers, its centre and sectors, its colours
// as pixels, and the outline pixels that are no sector's border.
struct Wheel {
    Wheel(const Surface& surface, int firstRow, int lastRow, double cx, double cy, double radius,
          double n, double k, Colour filledColour, Colour emptyColour, Colour outlineColour);

    int width, height;  // of the picture
    int y0, y1;         // the rows of the picture the wheel covers
    Axis centre;
    double cy, radius, step;
    // Within coreRadius of the centre a step to the right or down turns the angle by more
    // than a sector (with room for rounding): every pixel there differs from a neighbour.
    // core2 is its square, or -1 when there is no such core.
    double coreRadius, core2;
    // Sectors under two pixels wide from the core to the rim (so n stays below ten times the
    // radius) are drawn as outline with one patch of colour each.
    bool thin;
    // Wholly inside the picture with a pixel to spare, small enough for single-precision
    // positions and rows that fit 16 bits: drawn sector by sector (SectorWalk).
    bool walks;
    // Placed as a wheel that walks, with a core over the whole disc (and a pixel to spare):
    // every pixel is outline.
    bool allOutline;
    Sectors sectors;
    std::int32_t lastBlue;  // the last sector in the filled colour, -1 for none
    QRgb filled, empty, outline;
    // The radius at 3 o'clock runs along rayRow from rayFrom on; the centre is one pixel.
    int rayRow, rayFrom, centreRow, centreColumn;
};

}  // namespace rc::wheel
