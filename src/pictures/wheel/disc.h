// The disc: which pixels of each row a circle covers, exactly.
#pragma once

#include <algorithm>
#include <cmath>

namespace rc::wheel {

// A horizontal position split into whole pixels and a fraction. Every pixel position of a
// wheel is worked out from the fraction alone and then moved by the whole part, so a wheel
// moved by whole pixels comes out the same, pixel for pixel.
struct Axis {
    explicit Axis(double value) : whole(std::floor(value)), fraction(value - std::floor(value)) {}
    double offset(double x) const { return (x - whole) - fraction; }             // x - value
    double ceilAt(double d) const { return whole + std::ceil(fraction + d); }    // of value + d
    double floorAt(double d) const { return whole + std::floor(fraction + d); }  // of value + d
    double whole, fraction;
};

// The pixels of one row that lie in a disc: lo..hi, empty when lo > hi. The ends are clamped
// to -1 and the picture's width, so that a disc going on beyond an edge still reads as going on.
struct Span {
    long lo = 1, hi = 0;
    bool empty() const { return lo > hi; }
};

// A disc is exactly the pixels (x, y) with (x - cx)^2 + (y - cy)^2 <= radius^2; a pixel's centre
// is at its whole coordinates.
class Disc {
  public:
    Disc(Axis cx, double cy, double radius, int width)
        : cx_(cx), cy_(cy), r2_(radius * radius), width_(width) {}

    Span row(long y) const {
        const double dy = double(y) - cy_;
        const double rest = r2_ - dy * dy;
        if (!(rest >= 0)) return {};
        const double s = std::sqrt(rest);
        double lo = cx_.ceilAt(-s), hi = cx_.floorAt(s);
        // The square root may miss by a rounding step: settle both ends on the exact test.
        for (int i = 0; i < 2; ++i) {
            const double lo0 = lo, hi0 = hi;
            if (lo <= hi && !inside(lo, dy)) lo += 1;
            if (inside(lo - 1, dy)) lo -= 1;
            if (hi >= lo && !inside(hi, dy)) hi -= 1;
            if (inside(hi + 1, dy)) hi += 1;
            if (lo == lo0 && hi == hi0) break;  // settled: another round would test the same
        }
        lo = std::max(lo, -1.0);
        hi = std::min(hi, double(width_));
        if (lo > hi) return {};
        return {long(lo), long(hi)};
    }

  private:
    bool inside(double x, double dy) const {
        const double dx = cx_.offset(x);
        return dx * dx + dy * dy <= r2_;
    }
    Axis cx_;
    double cy_, r2_;
    int width_;
};

}  // namespace rc::wheel
