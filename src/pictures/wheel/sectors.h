// The sectors: which sector each pixel of a row lies in, as runs or pixel by pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/wheel/disc.h"

namespace rc::wheel {

// Pixels x0..x1 of a row that share one sector (-1: the core, all outline).
struct KeyRun {
    int x0, x1;
    std::int32_t key;
};

// The sectors of a wheel: sector i spans the angles [i * step, (i + 1) * step) with
// step = 6.28318 / n, counter-clockwise from 3 o'clock; the sliver of the turn beyond n * step
// (6.28318 is a little short of 2 pi) belongs to the last sector. Along a row of pixels above
// the centre the angle only shrinks from left to right, below it only grows; so a row is cut
// into sectors where the radius lines between them cross it, at x = cx + dy * cot(angle).
class Sectors {
  public:
    Sectors(Axis cx, double cy, double n, bool crossings)
        : cx_(cx),
          cy_(cy),
          step_(6.28318 / n),
          scale_(float(std::min(n, 1e30) / 6.28318)),
          last_(std::int32_t(std::min(std::floor(n) - 1, 2147483520.0))),
          // A radius line just short of 9 or 6 o'clock (6.28318 falls short of 2 pi) is drawn
          // on the axis, as those at 12 and 3 o'clock are: the pixels on the axis take the
          // sector before it, and the outline goes on that side of the line.
          nine_(sectorOfAngle(3.141592653589793 - 1e-5)),
          six_(sectorOfAngle(4.71238898038469 - 1e-5)) {
        // Cotangents of the radius lines, when rows are to be cut where they cross; beyond a
        // million lines they are worked out as they are needed.
        if (crossings) {
            cot_.resize(static_cast<std::size_t>(std::min(double(last_) + 1, 1048576.0)));
            for (std::size_t i = 1; i < cot_.size(); ++i) cot_[i] = cotangent(std::int64_t(i));
        }
    }

    std::int32_t last() const { return last_; }
    // The sectors that the pixels on the axes at 9 and at 6 o'clock take (see above).
    std::int32_t nine() const { return nine_; }
    std::int32_t six() const { return six_; }

    // The sectors of the pixels lo..hi of row y: appended to `runs` as runs of one sector, or,
    // when they change so often that they are worked out pixel by pixel, written to keys[lo..hi]
    // (the answer is then false).
    bool row(std::int32_t* keys, std::vector<KeyRun>& runs, int lo, int hi, int y) const;

    // The cotangent of radius line `line`, at the angle line * step.
    double cot(std::int64_t line) const {
        return std::size_t(line) < cot_.size() ? cot_[std::size_t(line)] : cotangent(line);
    }

  private:
    // Gives pixel x the sector `key` in the runs from `first` on, splitting its run and merging
    // runs of one sector again.
    static void setSector(std::vector<KeyRun>& runs, std::size_t first, int x, std::int32_t key);
    std::int32_t sectorAt(double dx, double dy) const {
        double angle = std::atan2(dy, dx);
        if (angle < 0) angle += 6.283185307179586;
        return sectorOfAngle(angle);
    }
    std::int32_t sectorOfAngle(double angle) const {
        return std::int32_t(std::min(std::floor(angle / step_), double(last_)));
    }
    double cotangent(std::int64_t line) const {
        const double angle = double(line) * step_;
        return std::cos(angle) / std::sin(angle);
    }
    static int clampTo(double value, int lo, int hi) {
        return int(std::clamp(value, double(lo), double(hi)));
    }

    Axis cx_;
    double cy_, step_;
    float scale_;
    std::int32_t last_, nine_, six_;
    std::vector<double> cot_;
};

}  // namespace rc::wheel
