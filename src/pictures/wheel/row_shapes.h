// The shape of every row of a disc, worked out once for the walk and the clearing pass.
#pragma once

#include <vector>

#include "pictures/wheel/wheel.h"

namespace rc::wheel {

// One row of a wheel: its pixels lo..hi in the disc, those not on the rim (innerLo..innerHi,
// which leaves out the radius at 3 o'clock too), and those of the core (coreLo..coreHi); and,
// while it is painted from one end, how far it is painted (`reached`, the last pixel painted);
// and its height above the centre in single precision, as the crossings take it.
struct RowShape {
    int lo, hi, innerLo, innerHi, coreLo, coreHi, reached;
    float dy;
};

// The rows first..last of the picture that one drawing writes: all of them, or one of the
// two bands that two threads draw side by side.
struct Band {
    int first, last;
};

// The disc's pixels, its rim (which leaves out the radius at 3 o'clock too) and its core, for
// each row of the wheel and the rows just above and below it, in columns from the centre's
// pixel column.
void shapeRows(const Wheel& wheel, std::vector<RowShape>& shapes);

// The disc's pixels on the rows of `band` (within the wheel's), from their shapes, in the
// outline colour.
void paintOutlineDisc(const Wheel& wheel, Surface::Rows rows, const std::vector<RowShape>& shapes,
                      Band band);

}  // namespace rc::wheel
