// The last step of the row-by-row drawing: every sector keeps one patch of its colour.
#pragma once

#include <cstdint>
#include <vector>

#include "controls/surface.h"

namespace rc::wheel {

// A run of sector pixels after painting: one patch of a sector's colour on one row.
struct Run {
    int y, x0, x1;
    std::int32_t key;
};

// Each sector keeps its largest patch (the first one on a tie); the runs of its other patches,
// crumbs, are painted outline. `runs` are the runs of sector pixels of a wheel of sectors
// 0..lastSector, row after row from the top and from left to right along each row; two runs
// that touch have one sector.
void keepLargestPatches(const std::vector<Run>& runs, std::int32_t lastSector, Surface::Rows rows,
                        QRgb outline);

}  // namespace rc::wheel
