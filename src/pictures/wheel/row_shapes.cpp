// The shape of every row of a disc: its pixels, its rim and its core.
#include "pictures/wheel/row_shapes.h"

#include <algorithm>
#include <cmath>

#include "pictures/wheel/fills.h"

namespace rc::wheel {

RC_VECTOR_CLONES
void shapeRows(const Wheel& wheel, std::vector<RowShape>& shapes) {
    const int whole = int(wheel.centre.whole);
    const Disc disc(wheel.centre, wheel.cy, wheel.radius, wheel.width);
    shapes.resize(std::size_t(wheel.y1 - wheel.y0 + 3));
    Span up = disc.row(wheel.y0 - 2), mid = disc.row(wheel.y0 - 1);
    for (int y = wheel.y0 - 1; y <= wheel.y1 + 1; ++y) {
        const Span down = disc.row(y + 1);
        RowShape row{int(mid.lo), int(mid.hi), 1, 0, 1, 0, 0, float(wheel.cy - double(y))};
        if (!up.empty() && !down.empty()) {
            row.innerLo = int(std::max({mid.lo + 1, up.lo, down.lo}));
            row.innerHi = int(std::min({mid.hi - 1, up.hi, down.hi}));
        }
        if (y == wheel.rayRow) row.innerHi = std::min(row.innerHi, wheel.rayFrom - 1);
        const double dy = double(y) - wheel.cy;
        if (!mid.empty() && wheel.core2 - dy * dy >= 0) {
            const double s = std::sqrt(wheel.core2 - dy * dy);
            row.coreLo = int(std::clamp(wheel.centre.ceilAt(-s), mid.lo + 0.0, mid.hi + 1.0));
            row.coreHi = int(std::clamp(wheel.centre.floorAt(s), mid.lo - 1.0, mid.hi + 0.0));
        }
        // Rows down to the centre get their sectors right to left, the others left to right.
        row.reached = double(y) <= wheel.cy ? row.hi + 1 : row.lo - 1;
        for (int* x :
             {&row.lo, &row.hi, &row.innerLo, &row.innerHi, &row.coreLo, &row.coreHi, &row.reached})
            *x -= whole;
        shapes[std::size_t(y - wheel.y0 + 1)] = row;
        up = mid;
        mid = down;
    }
}

RC_VECTOR_CLONES
void paintOutlineDisc(const Wheel& wheel, Surface::Rows rows, const std::vector<RowShape>& shapes,
                      Band band) {
    const int whole = int(wheel.centre.whole);
    for (int y = std::max(band.first, wheel.y0); y <= std::min(band.last, wheel.y1); ++y) {
        const RowShape& row = shapes[std::size_t(y - wheel.y0 + 1)];
        if (row.lo <= row.hi) paintRun(rows[y] + whole, row.lo, row.hi, wheel.outline);
    }
}

}  // namespace rc::wheel
