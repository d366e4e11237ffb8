// The walk down the sectors: the fast drawing of wheels wholly inside the picture.
#pragma once

#include <vector>

#include "controls/surface.h"
#include "pictures/wheel/row_shapes.h"
#include "pictures/wheel/wheel.h"

namespace rc::wheel {

// Draws the rows of `band` of a wheel that walks (see Wheel::walks) sector by sector: sixteen
// sectors at a time followed down the rows from the crossings of their radius lines, a few
// vector steps per sector and row plus a pixel write per pixel of colour. `outlined`: the rows'
// shapes, worked out already, of a wheel whose disc is painted outline already; or null.
// Answers false where the centre pixel or the core would cut a sector's run in two; the wheel
// must then be drawn another way, over what is painted.
bool walkSectors(const Wheel& wheel, Surface::Rows rows, std::vector<RowShape>* outlined,
                 Band band);

// Whether the walk paints the wheel's rows from one end, each pixel once, rather than over a
// disc painted outline first (which the clearing pass can paint).
bool walkPaintsFromOneEnd(const Wheel& wheel);

}  // namespace rc::wheel
