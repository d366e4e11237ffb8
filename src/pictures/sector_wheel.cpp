#include "pictures/sector_wheel.h"

#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <latch>
#include <limits>
#include <memory>
#include <type_traits>
#include <vector>

#include "controls/surface.h"

// Runs the loops marked with it with wider vector registers where the processor has them; the
// results are the same bit for bit (no fused multiply-add), only faster. Not in sanitizer
// builds, whose checks cannot run in the resolvers that choose the loops at start-up.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define RC_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define RC_VECTOR_CLONES
#endif

namespace rc {

namespace {

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

// The angle of (x, y) seen from the centre, y pointing up: 0 at 3 o'clock, counter-clockwise,
// in [0, 2 pi]. The arctangent is a polynomial good to 2e-6 rad, written without branches so
// that the compiler runs it on several pixels at once.
inline float angleOf(float x, float y) {
    const float ax = std::fabs(x), ay = std::fabs(y);
    const float big = std::max(ax, ay), small = std::min(ax, ay);
    const float q = small / std::max(big, 1e-30f);
    const float s = q * q;
    float t =
        q * (0.99997726f +
             s * (-0.33262347f +
                  s * (0.19354346f + s * (-0.11643287f + s * (0.05265332f + s * -0.01172120f)))));
    // Octant, then quadrant: t or c - t, chosen by 0/1 factors that stay in vector registers.
    const float swap = ay > ax ? 1.0f : 0.0f, left = x < 0 ? 1.0f : 0.0f, low = y < 0 ? 1.0f : 0.0f;
    t = swap * 1.57079633f + (1.0f - 2.0f * swap) * t;
    t = left * 3.14159265f + (1.0f - 2.0f * left) * t;
    t = low * 6.28318531f + (1.0f - 2.0f * low) * t;
    return t;
}

// The sectors of `count` pixels of one row, from x - cx = x0 on, pixel by pixel: the angle
// times n / 6.28318, cut down to the last sector.
RC_VECTOR_CLONES
void denseSectors(std::int32_t* out, int count, float x0, float y, float scale, float last) {
    for (int i = 0; i < count; ++i)
        out[i] = std::int32_t(std::min(angleOf(x0 + float(i), y) * scale, last));
}

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
    bool row(std::int32_t* keys, std::vector<KeyRun>& runs, int lo, int hi, int y) const {
        const double dy = cy_ - double(y);  // upwards
        if (dy == 0) {
            // The row through the centre: 9 o'clock to the left, 3 o'clock from the centre on.
            const int split = clampTo(cx_.ceilAt(0), lo, hi + 1);
            const std::int32_t left = nine_;
            if (left == 0) {
                runs.push_back({lo, hi, 0});  // one sector all round
            } else {
                if (lo < split) runs.push_back({lo, split - 1, left});
                if (split <= hi) runs.push_back({split, hi, 0});
            }
            return true;
        }
        std::int32_t key = sectorAt(cx_.offset(lo), dy);
        // Where the lines cross the row about as often as there are pixels, each pixel's
        // sector is worked out on its own, several at a time.
        const std::int32_t final = sectorAt(cx_.offset(hi), dy);
        const bool onSix = dy < 0 && cx_.fraction == 0 && cx_.whole >= lo && cx_.whole <= hi;
        if (std::llabs(std::int64_t(final) - key) * 4 >= std::int64_t(hi) - lo + 1) {
            denseSectors(keys + lo, hi - lo + 1, float(cx_.offset(lo)), float(dy), scale_,
                         float(last_));
            if (onSix) keys[int(cx_.whole)] = six_;
            return false;
        }
        const std::size_t first = runs.size();
        int x = lo;
        while (x <= hi) {
            int end = hi;
            if (dy > 0 && key >= 1) {
                // Sector `key` goes on while the angle is at least key * step.
                end = clampTo(cx_.floorAt(dy * cot(key)), x - 1, hi);
            } else if (dy < 0 && key < last_) {
                // ... or, below the centre, while it is under (key + 1) * step.
                end = clampTo(cx_.ceilAt(dy * cot(std::int64_t(key) + 1)) - 1, x - 1, hi);
            }
            if (end >= x) runs.push_back({x, end, key});
            x = end + 1;
            if (x <= hi) key += dy > 0 ? -1 : 1;
        }
        if (onSix) setSector(runs, first, int(cx_.whole), six_);
        return true;
    }

    // The cotangent of radius line `line`, at the angle line * step.
    double cot(std::int64_t line) const {
        return std::size_t(line) < cot_.size() ? cot_[std::size_t(line)] : cotangent(line);
    }

  private:
    // Gives pixel x the sector `key` in the runs from `first` on, splitting its run and merging
    // runs of one sector again.
    static void setSector(std::vector<KeyRun>& runs, std::size_t first, int x, std::int32_t key) {
        std::vector<KeyRun> row(runs.begin() + std::ptrdiff_t(first), runs.end());
        runs.resize(first);
        for (const KeyRun& r : row) {
            const KeyRun parts[] = {{r.x0, std::min(r.x1, x - 1), r.key},
                                    {std::max(r.x0, x), std::min(r.x1, x), key},
                                    {std::max(r.x0, x + 1), r.x1, r.key}};
            for (const KeyRun& part : parts) {
                if (part.x0 > part.x1) continue;
                if (runs.size() > first && runs.back().key == part.key &&
                    runs.back().x1 + 1 == part.x0)
                    runs.back().x1 = part.x1;
                else
                    runs.push_back(part);
            }
        }
    }
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

// Paints pixels a..b of one row: outline where the pixel is outside inner (the rim), is in
// the core (sector -1), or where its right or lower neighbour has another sector; the sector's
// colour elsewhere. Marks the outline pixels with 1.
RC_VECTOR_CLONES
void paintRow(QRgb* line, std::uint8_t* mark, const std::int32_t* here, const std::int32_t* below,
              int a, int b, int innerLo, int innerHi, std::int32_t lastBlue, QRgb filled,
              QRgb empty, QRgb outline) {
    for (int x = a; x <= b; ++x) {
        const std::int32_t key = here[x];
        const bool edge =
            (x < innerLo) | (x > innerHi) | (key != here[x + 1]) | (key != below[x]) | (key < 0);
        line[x] = edge ? outline : (key <= lastBlue ? filled : empty);
        mark[x] = edge;
    }
}

RC_VECTOR_CLONES
void fillPixels(QRgb* line, int count, QRgb colour) {
    std::fill(line, line + count, colour);
}

// One row of a wheel: the sectors of its pixels a..b in the picture, the core's pixels, and,
// when the sectors change seldom, the same as runs.
struct WheelRow {
    std::vector<std::int32_t> keys;
    std::vector<KeyRun> runs;
    int a = 1, b = 0, coreLo = 1, coreHi = 0;
    bool fewRuns = false;
    bool keysReady = false;  // keys hold the runs too

    // Writes the runs into keys, for the pixel-by-pixel painting.
    const std::int32_t* readyKeys() {
        if (!keysReady && a <= b) {
            for (const KeyRun& r : runs)
                std::fill(keys.data() + r.x0, keys.data() + r.x1 + 1, r.key);
            keys[std::size_t(b) + 1] = keys[std::size_t(b)];  // beyond the picture's edge
        }
        keysReady = true;
        return keys.data();
    }
};

// A run of sector pixels after painting: one patch of a sector's colour on one row.
struct Run {
    int y, x0, x1;
    std::int32_t key;
};

// A sector's last run and the patches it has had, met row after row.
struct SectorChain {
    int row = std::numeric_limits<int>::min(), x0 = 0, x1 = -1;  // its last run
    int from = 0;                                                // where its patch began
    long long size = 0;                                          // and its pixels so far
    int bestFrom = 0, bestTo = -1;                               // its largest patch's rows
    long long best = 0;
    // The patch ends; the first of the largest ones is kept.
    void close() {
        if (size > best) best = size, bestFrom = from, bestTo = row;
    }
};

// Eight lanes of a vector register (two halves where the processor has no wider ones).
using Floats = float __attribute__((vector_size(32)));
using Ints = std::int32_t __attribute__((vector_size(32)));
using Shorts = std::int16_t __attribute__((vector_size(32)));  // sixteen lanes of 16 bits

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

// Buffers of the wheel drawing, kept from one wheel to the next so that a row of a hundred
// small circles does not allocate and clear them a hundred times.
struct WheelBuffers {
    WheelRow here, below;
    std::vector<std::uint8_t> marks;
    std::vector<KeyRun> pieces;
    std::vector<Run> runs;
    std::vector<int> parent, best, roots;
    std::vector<long long> patchSize;
    std::vector<char> crumb;
    std::vector<SectorChain> chains;
    std::vector<RowShape> shapes;
    std::vector<Ints> wideLo, wideHi;
    std::vector<Shorts> narrowLo, narrowHi;
    // The runs of a sector walk, first and last pixels, for lanes of V.
    template <class V>
    std::vector<V>& runLanes(int which) {
        if constexpr (std::is_same_v<V, Shorts>)
            return which == 0 ? narrowLo : narrowHi;
        else
            return which == 0 ? wideLo : wideHi;
    }
    std::vector<double> lines;
    std::vector<std::uint64_t> seen;
    std::vector<std::pair<int, int>> stack;
};

template <class T>
void atLeast(std::vector<T>& buffer, std::size_t size) {
    if (buffer.size() < size) buffer.resize(size);
}

int findRoot(std::vector<int>& parent, int i) {
    while (parent[std::size_t(i)] != i) {
        parent[std::size_t(i)] = parent[std::size_t(parent[std::size_t(i)])];
        i = parent[std::size_t(i)];
    }
    return i;
}

// The rows first..last of the picture that a wheel covers; false when nothing is drawn: an
// empty picture, n < 1, no radius, a place out of reach, or a circle wholly beside the picture.
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

// The last sector painted in the filled colour (sector i is when i + 1 <= k); -1 for none.
std::int32_t lastFilledSector(double k) {
    const double filled = std::isnan(k) ? 0 : std::floor(k);
    return std::int32_t(std::clamp(filled - 1, -1.0, 2147483520.0));
}

// What every wheel is painted from: the rows it covers, its centre and sectors, its colours
// as pixels, and the outline pixels that are no sector's border.
struct Wheel {
    Wheel(const Surface& surface, int firstRow, int lastRow, double cx, double cy, double radius,
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
          walks(coreRadius < radius && radius < 16384 &&
                centre.whole + centre.fraction >= radius + 1 &&
                centre.whole + centre.fraction + radius <= width - 2 && cy >= radius + 1 &&
                cy + radius <= height - 2 && height < 32768),
          sectors(centre, cy, n, coreRadius < radius && !thin && !walks),
          lastBlue(lastFilledSector(k)),
          filled(Surface::pixelOf(filledColour)),
          empty(Surface::pixelOf(emptyColour)),
          outline(Surface::pixelOf(outlineColour)),
          rayRow(int(std::clamp(std::floor(cy), -2.0, double(height)))),
          rayFrom(int(std::clamp(centre.ceilAt(0), -1.0, double(width)))),
          centreRow(int(std::clamp(std::floor(cy + 0.5), -2.0, double(height)))),
          centreColumn(int(std::clamp(centre.floorAt(0.5), -2.0, double(width)))) {}

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
    Sectors sectors;
    std::int32_t lastBlue;  // the last sector in the filled colour, -1 for none
    QRgb filled, empty, outline;
    // The radius at 3 o'clock runs along rayRow from rayFrom on; the centre is one pixel.
    int rayRow, rayFrom, centreRow, centreColumn;
};

// A wheel whose sectors are narrower than two pixels everywhere outside the core: there each
// sector breaks into crumbs of a pixel or two, and working out every pixel's sector only to
// keep one crumb per sector costs far more than the picture. So the disc is painted outline
// and each sector gets one patch of its colour: walking inwards from the rim along the
// sector's middle, the first pixel that may hold colour is grown into its whole patch.
// A pixel may hold colour (is "open") when it and its four neighbours lie in the disc, it is
// not on the radius at 3 o'clock or at the centre, and it, its right and its lower neighbour
// all lie in the sector; so two open 4-neighbours always share a sector (the same rule as the
// wider wheels), and a patch grown over open pixels is one region that no other sector's
// colour touches. Which side of a radius line a pixel lies on is decided by the sign of one
// cross product per line, shared by the two sectors of the line, so no pixel lies in two.
class ThinWheel {
  public:
    ThinWheel(const Wheel& wheel, Surface::Rows rows)
        : rows_(rows),
          width_(wheel.width),
          height_(wheel.height),
          cx_(wheel.centre),
          cy_(wheel.cy),
          r2_(wheel.radius * wheel.radius),
          deep2_(wheel.radius > 1.01 ? (wheel.radius - 1.01) * (wheel.radius - 1.01) : -1),
          radius_(wheel.radius),
          n_(wheel.sectors.last() + 1),
          step_(wheel.step),
          lastBlue_(wheel.lastBlue),
          filled_(wheel.filled),
          empty_(wheel.empty),
          outline_(wheel.outline),
          rayRow_(wheel.rayRow),
          rayFrom_(wheel.rayFrom),
          centreRow_(wheel.centreRow),
          centreColumn_(wheel.centreColumn),
          y0_(wheel.y0),
          y1_(wheel.y1) {}

    void draw(WheelBuffers& buffers) {
        paintDisc();
        placeRadiusLines(buffers.lines);
        forgetTaken(buffers.seen);
        growPatches(buffers.stack);
    }

  private:
    // Every pixel of the disc outline first.
    RC_VECTOR_CLONES
    void paintDisc() const {
        const Disc disc(cx_, cy_, radius_, width_);
        for (int y = y0_; y <= y1_; ++y) {
            const Span span = disc.row(y);
            const long a = std::max(span.lo, 0L), b = std::min(span.hi, long(width_ - 1));
            if (!span.empty() && a <= b) std::fill(line(y) + a, line(y) + b + 1, outline_);
        }
    }

    // The radius lines as unit vectors (y up); the line at 3 o'clock closes the first sector
    // and the last, whose sliver beyond n * step it keeps.
    void placeRadiusLines(std::vector<double>& lines) {
        lines.resize(2 * std::size_t(n_) + 2);
        for (std::int32_t i = 0; i <= n_; ++i) {
            const double angle = double(i) * step_;
            const bool east = i == 0 || i == n_;
            lines[2 * std::size_t(i)] = east ? 1.0 : std::cos(angle);
            lines[2 * std::size_t(i) + 1] = east ? 0.0 : std::sin(angle);
        }
        lines_ = lines.data();
    }

    // Which pixels a patch has taken already, one bit a pixel of the disc's bounding box: none.
    void forgetTaken(std::vector<std::uint64_t>& seen) {
        x0_ = int(std::clamp(std::floor(cx_.whole + cx_.fraction - radius_), 0.0, double(width_)));
        const int x1 = int(
            std::clamp(std::ceil(cx_.whole + cx_.fraction + radius_), -1.0, double(width_ - 1)));
        stride_ = std::max(0, x1 - x0_ + 1);
        seen.assign((std::size_t(stride_) * std::size_t(y1_ - y0_ + 1) + 63) / 64, 0);
        seen_ = seen.data();
    }

    // One patch of its colour for every sector that has a pixel that may hold colour.
    RC_VECTOR_CLONES
    void growPatches(std::vector<std::pair<int, int>>& stack) {
        for (std::int32_t i = 0; i < n_; ++i) {
            int x = 0, y = 0;
            if (findSeed(i, x, y)) grow(i, x, y, i <= lastBlue_ ? filled_ : empty_, stack);
        }
    }

    // The first open pixel of sector i met walking inwards from the rim along its middle.
    [[gnu::always_inline]] bool findSeed(std::int32_t i, int& seedX, int& seedY) const {
        // The middle of the sector, between its two radius lines.
        const double* bounds = lines_ + 2 * std::size_t(i);
        const double mx = bounds[0] + bounds[2], my = bounds[1] + bounds[3];
        const double length = std::sqrt(mx * mx + my * my);
        const double c = mx / length, s = my / length;
        // A step right or down turns the angle by -s / rho and -c / rho: the three pixels
        // spread over (their spread) / (rho * step) sectors, which must stay under one.
        const double spread = std::max({0.0, -s, -c}) - std::min({0.0, -s, -c});
        const double nearest = std::max(0.0, spread / step_ - 2);
        int lastX = std::numeric_limits<int>::min(), lastY = lastX;
        for (double t = radius_; t >= nearest; t -= 0.25) {
            const int x = int(cx_.whole + std::floor(cx_.fraction + t * c + 0.5));
            const int y = int(std::floor(cy_ - t * s + 0.5));
            if (x == lastX && y == lastY) continue;
            lastX = x, lastY = y;
            if (!open(i, x, y)) continue;
            seedX = x, seedY = y;
            return true;
        }
        return false;
    }

    QRgb* line(int y) const { return rows_[y]; }
    [[gnu::always_inline]] bool inDisc(int x, int y) const {
        const double dx = cx_.offset(x), dy = double(y) - cy_;
        return dx * dx + dy * dy <= r2_;
    }
    [[gnu::always_inline]] bool inSector(std::int32_t i, int x, int y) const {
        const double vx = cx_.offset(x), vy = cy_ - double(y);
        const double* from = lines_ + 2 * std::size_t(i);
        return from[0] * vy - from[1] * vx >= 0 && from[2] * vy - from[3] * vx < 0;
    }
    [[gnu::always_inline]] bool open(std::int32_t i, int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
        if ((y == rayRow_ && x >= rayFrom_) || (y == centreRow_ && x == centreColumn_))
            return false;
        return withNeighboursInDisc(x, y) && inSector(i, x, y) && inSector(i, x + 1, y) &&
               inSector(i, x, y + 1);
    }
    // A pixel more than a pixel inside the rim (with room for rounding) has its four
    // neighbours in the disc; only those near the rim are tested one by one.
    [[gnu::always_inline]] bool withNeighboursInDisc(int x, int y) const {
        const double dx = cx_.offset(x), dy = double(y) - cy_;
        if (dx * dx + dy * dy <= deep2_) return true;
        return inDisc(x, y) && inDisc(x - 1, y) && inDisc(x + 1, y) && inDisc(x, y - 1) &&
               inDisc(x, y + 1);
    }
    // Whether pixel (x, y) lies in the disc's bounding box and no patch has taken it yet.
    bool free(int x, int y) const {
        if (x < x0_ || x >= x0_ + stride_ || y < y0_ || y > y1_) return false;
        const std::size_t bit = std::size_t(y - y0_) * std::size_t(stride_) + std::size_t(x - x0_);
        return !(seen_[bit / 64] >> (bit % 64) & 1);
    }
    void take(int x, int y) {
        const std::size_t bit = std::size_t(y - y0_) * std::size_t(stride_) + std::size_t(x - x0_);
        seen_[bit / 64] |= std::uint64_t(1) << (bit % 64);
    }
    // Paints the open pixels of sector i that are 4-connected to (x, y) in its colour.
    void grow(std::int32_t i, int x, int y, QRgb colour, std::vector<std::pair<int, int>>& stack) {
        stack.clear();
        if (free(x, y)) take(x, y), stack.emplace_back(x, y);
        while (!stack.empty()) {
            const auto [px, py] = stack.back();
            stack.pop_back();
            line(py)[px] = colour;
            const std::pair<int, int> around[] = {
                {px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
            // Whether a neighbour is taken is a bit to read, whether it is open a dozen
            // products: a patch's own pixels are passed over before testing them.
            for (const auto& [qx, qy] : around)
                if (free(qx, qy) && open(i, qx, qy)) take(qx, qy), stack.emplace_back(qx, qy);
        }
    }

    Surface::Rows rows_;
    int width_, height_;
    Axis cx_;
    double cy_, r2_, deep2_, radius_;
    std::int32_t n_;
    double step_;
    std::int32_t lastBlue_;
    QRgb filled_, empty_, outline_;
    int rayRow_, rayFrom_, centreRow_, centreColumn_;
    int y0_, y1_;
    const double* lines_ = nullptr;
    std::uint64_t* seen_ = nullptr;
    int x0_ = 0, stride_ = 0;
};

// Does patch p beat patch q? The larger one does, and the first one on a tie.
inline bool beats(const long long* patchSize, int p, int q) {
    const long long sp = patchSize[std::size_t(p)], sq = patchSize[std::size_t(q)];
    return sp != sq ? sp > sq : p < q;
}

// Where a row's painting stands: its pixels, the pixels that do not touch the outside
// (innerLo..innerHi), and whether the centre pixel is on it.
struct RowFrame {
    int y;
    QRgb* line;
    int innerLo, innerHi;
    bool centreHere;
};

// A wheel with sectors two pixels wide or more somewhere outside the core, painted row by row
// from the top: the sectors of the row and of the one below it, the row's pixels, its runs of
// sector pixels joined to those of the row above into patches; and at the end every sector
// keeps only its largest patch.
class WideWheel {
  public:
    WideWheel(const Wheel& wheel, Surface::Rows rows, WheelBuffers& buffers)
        : wheel_(wheel),
          rows_(rows),
          buffers_(buffers),
          disc_(wheel.centre, wheel.cy, wheel.radius, wheel.width) {
        const std::size_t width = static_cast<std::size_t>(wheel.width);
        atLeast(buffers.here.keys, width + 1);
        atLeast(buffers.below.keys, width + 1);
        atLeast(buffers.marks, width + 128);
    }

    void draw() {
        paintRows();
        if (!buffers_.runs.empty()) keepLargestPatches();
    }

  private:
    void paintRows();
    void sectorsOfRow(WheelRow& row, int y, const Span& span) const;
    void drawRow(int y, const Span& up, const Span& mid, const Span& down, bool hasNext);
    void cutRuns(const RowFrame& frame, const WheelRow& row, const WheelRow& next, bool hasNext);
    void drawRunByRun(const RowFrame& frame, const WheelRow& row);
    void drawPixelByPixel(const RowFrame& frame, WheelRow& row, WheelRow& next);
    void collectRuns(int y, int a, int b, const std::int32_t* keys);
    void keepLargestPatches();
    bool largestPatchesAlongSectors();
    void joinRuns();
    void joinToRowAbove(std::size_t previousBegin, std::size_t previousEnd, std::size_t rowBegin,
                        std::size_t rowEnd);
    void largestPatchesByJoining();
    bool crumbsBySector(double sectorCount);
    bool crumbsBySorting();
    void paintCrumbs();

    QRgb colourOf(std::int32_t key) const {
        return key <= wheel_.lastBlue ? wheel_.filled : wheel_.empty;
    }

    const Wheel& wheel_;
    const Surface::Rows rows_;
    WheelBuffers& buffers_;
    const Disc disc_;
};

// The rows one after the other, each with the row below it at hand: a pixel's colour depends
// on the sectors of its right and lower neighbours.
void WideWheel::paintRows() {
    buffers_.runs.clear();
    const int y0 = wheel_.y0, y1 = wheel_.y1;
    Span up = disc_.row(y0 - 1), mid = disc_.row(y0);
    sectorsOfRow(buffers_.here, y0, mid);
    for (int y = y0; y <= y1; ++y) {
        const Span down = disc_.row(y + 1);
        const bool more = y + 1 <= y1;
        if (more) sectorsOfRow(buffers_.below, y + 1, down);
        const bool hasNext = more && buffers_.below.a <= buffers_.below.b;
        if (!mid.empty() && buffers_.here.a <= buffers_.here.b) drawRow(y, up, mid, down, hasNext);
        if (more) std::swap(buffers_.here, buffers_.below);
        up = mid;
        mid = down;
    }
}

// The sectors of the pixels of row y that lie in the picture, and -1 in the core.
void WideWheel::sectorsOfRow(WheelRow& row, int y, const Span& span) const {
    const Wheel& wheel = wheel_;
    row.runs.clear();
    row.a = int(std::max(span.lo, 0L));
    row.b = int(std::min(span.hi, long(wheel.width - 1)));
    row.coreLo = row.b + 1, row.coreHi = row.b;  // none
    row.fewRuns = true;
    row.keysReady = false;
    if (span.empty() || row.a > row.b) {
        row.a = 1, row.b = 0;  // no pixel in the picture
        return;
    }
    const double dy = double(y) - wheel.cy;
    if (wheel.core2 - dy * dy >= 0) {
        const double s = std::sqrt(wheel.core2 - dy * dy);
        row.coreLo = int(std::clamp(wheel.centre.ceilAt(-s), double(row.a), double(row.b) + 1));
        row.coreHi = int(std::clamp(wheel.centre.floorAt(s), double(row.a) - 1, double(row.b)));
    }
    std::int32_t* keys = row.keys.data();
    if (row.coreLo <= row.coreHi) {
        if (row.a < row.coreLo)
            row.fewRuns &= wheel.sectors.row(keys, row.runs, row.a, row.coreLo - 1, y);
        row.runs.push_back({row.coreLo, row.coreHi, -1});
        if (row.coreHi < row.b)
            row.fewRuns &= wheel.sectors.row(keys, row.runs, row.coreHi + 1, row.b, y);
    } else {
        row.fewRuns &= wheel.sectors.row(keys, row.runs, row.a, row.b, y);
    }
    row.fewRuns = row.fewRuns && row.runs.size() * 16 <= std::size_t(row.b - row.a + 1);
}

// Paints row y, whose pixels in the disc are mid (up and down: those of the rows above and
// below), run by run where the sectors of both rows change seldom, else pixel by pixel.
void WideWheel::drawRow(int y, const Span& up, const Span& mid, const Span& down, bool hasNext) {
    WheelRow& row = buffers_.here;
    WheelRow& next = hasNext ? buffers_.below : buffers_.here;
    // Pixels outside lo + 1 .. hi - 1 of this row or outside the rows above and below touch
    // the outside: the rim. The radius at 3 o'clock and the centre are outline.
    RowFrame frame{y, rows_[y], 1, 0, false};
    if (!up.empty() && !down.empty()) {
        frame.innerLo = int(std::max({mid.lo + 1, up.lo, down.lo}));
        frame.innerHi = int(std::min({mid.hi - 1, up.hi, down.hi}));
    }
    if (y == wheel_.rayRow) frame.innerHi = std::min(frame.innerHi, wheel_.rayFrom - 1);
    frame.centreHere =
        y == wheel_.centreRow && wheel_.centreColumn >= row.a && wheel_.centreColumn <= row.b;
    if (row.fewRuns && next.fewRuns) {
        cutRuns(frame, row, next, hasNext);
        drawRunByRun(frame, row);
    } else {
        drawPixelByPixel(frame, row, next);
    }
}

// The pieces of the row's runs that keep their sector's colour: a run keeps it where the row
// below has the same sector, but for its last pixel (whose right neighbour is in the next run)
// and its pixels on the rim or on the radius at 3 o'clock.
void WideWheel::cutRuns(const RowFrame& frame, const WheelRow& row, const WheelRow& next,
                        bool hasNext) {
    std::vector<KeyRun>& pieces = buffers_.pieces;
    pieces.clear();
    std::size_t j = 0;
    for (const KeyRun& r : row.runs) {
        if (r.key < 0) continue;
        const int lo = std::max(r.x0, frame.innerLo);
        const int hi = std::min(r.x1 < row.b ? r.x1 - 1 : r.x1, frame.innerHi);
        if (lo > hi) continue;
        if (!hasNext) {
            pieces.push_back({lo, hi, r.key});
            continue;
        }
        while (j < next.runs.size() && next.runs[j].x1 < lo) ++j;
        for (std::size_t t = j; t < next.runs.size() && next.runs[t].x0 <= hi; ++t)
            if (next.runs[t].key == r.key)
                pieces.push_back(
                    {std::max(lo, next.runs[t].x0), std::min(hi, next.runs[t].x1), r.key});
    }
}

// Paints the row from its pieces with block fills, outline between them, each pixel written
// once; the pieces become the row's runs, cut at the centre pixel.
void WideWheel::drawRunByRun(const RowFrame& frame, const WheelRow& row) {
    std::vector<Run>& runs = buffers_.runs;
    const std::size_t rowBegin = runs.size();
    const int y = frame.y, centreColumn = wheel_.centreColumn;
    for (const KeyRun& p : buffers_.pieces) {
        const bool split = frame.centreHere && p.x0 <= centreColumn && centreColumn <= p.x1;
        if (split) {
            if (p.x0 < centreColumn) runs.push_back({y, p.x0, centreColumn - 1, p.key});
            if (centreColumn < p.x1) runs.push_back({y, centreColumn + 1, p.x1, p.key});
        } else {
            runs.push_back({y, p.x0, p.x1, p.key});
        }
    }
    QRgb* const line = frame.line;
    const QRgb o = wheel_.outline;
    int x = row.a;
    for (std::size_t i = rowBegin; i < runs.size(); ++i) {
        fillPixels(line + x, runs[i].x0 - x, o);
        fillPixels(line + runs[i].x0, runs[i].x1 - runs[i].x0 + 1, colourOf(runs[i].key));
        x = runs[i].x1 + 1;
    }
    fillPixels(line + x, row.b + 1 - x, o);
}

// Paints the row pixel by pixel, the core all outline, marking the outline pixels; then
// collects the runs of the others.
void WideWheel::drawPixelByPixel(const RowFrame& frame, WheelRow& row, WheelRow& next) {
    const Wheel& wheel = wheel_;
    const int a = row.a, b = row.b, innerLo = frame.innerLo, innerHi = frame.innerHi;
    QRgb* const line = frame.line;
    std::uint8_t* mark = buffers_.marks.data();
    const std::int32_t* keys = row.readyKeys();
    const std::int32_t* below = next.readyKeys();
    const std::int32_t lastBlue = wheel.lastBlue;
    const QRgb f = wheel.filled, e = wheel.empty, o = wheel.outline;
    const int coreLo = std::max(a, row.coreLo), coreHi = std::min(b, row.coreHi);
    if (coreLo <= coreHi) {
        paintRow(line, mark, keys, below, a, coreLo - 1, innerLo, innerHi, lastBlue, f, e, o);
        fillPixels(line + coreLo, coreHi - coreLo + 1, o);
        std::fill(mark + coreLo, mark + coreHi + 1, std::uint8_t(1));
        paintRow(line, mark, keys, below, coreHi + 1, b, innerLo, innerHi, lastBlue, f, e, o);
    } else {
        paintRow(line, mark, keys, below, a, b, innerLo, innerHi, lastBlue, f, e, o);
    }
    if (frame.centreHere) line[wheel.centreColumn] = o, mark[wheel.centreColumn] = 1;
    collectRuns(frame.y, a, b, keys);
}

// The runs of sector pixels a..b of row y, found 64 marks at a time: bit i of `outlineBits`
// is the mark of pixel base + i, and the runs start and end where bits change.
void WideWheel::collectRuns(int y, int a, int b, const std::int32_t* keys) {
    std::uint8_t* const mark = buffers_.marks.data();
    std::vector<Run>& runs = buffers_.runs;
    std::memset(mark + b + 1, 1, 64);
    bool inRun = false;
    int start = 0;
    for (int base = a; base <= b; base += 64) {
        std::uint64_t outlineBits = 0;
        for (int i = 0; i < 8; ++i) {
            std::uint64_t word;
            std::memcpy(&word, mark + base + 8 * i, 8);
            outlineBits |= ((word * 0x0102040810204080ull) >> 56) << (8 * i);
        }
        int pos = 0;
        for (;;) {
            const std::uint64_t next = (inRun ? outlineBits : ~outlineBits) & (~0ull << pos);
            if (!next) break;
            pos = std::countr_zero(next);
            if (inRun)
                runs.push_back({y, start, base + pos - 1, keys[start]});
            else
                start = base + pos;
            inRun = !inRun;
        }
    }
    if (inRun) runs.push_back({y, start, b, keys[start]});
}

// Each sector keeps its largest patch (the first one on a tie); the others turn outline.
void WideWheel::keepLargestPatches() {
    if (!largestPatchesAlongSectors()) largestPatchesByJoining();
}

// Two runs of sector pixels that touch have one sector (a sector pixel has the sector of its
// right and its lower neighbour), and along a row the sectors only grow or only shrink: so a
// sector has at most one run on a row, and its patches are the stretches of rows where its runs
// overlap from one row to the next. Following every sector down the rows, keeping the largest
// stretch, costs a few steps a run. Answers false, changing nothing, where a sector has two
// runs on one row (the centre pixel cuts a run, or the polynomial arctangent wavers at a radius
// line) or there are too many sectors for a table.
bool WideWheel::largestPatchesAlongSectors() {
    const std::vector<Run>& runs = buffers_.runs;
    const double sectorCount = double(wheel_.sectors.last()) + 1;
    if (sectorCount > 4.0 * double(runs.size()) + 4096) return false;
    std::vector<SectorChain>& chains = buffers_.chains;
    chains.assign(static_cast<std::size_t>(sectorCount), {});
    for (const Run& r : runs) {
        SectorChain& chain = chains[std::size_t(r.key)];
        if (chain.row == r.y) return false;
        const bool goesOn = chain.row == r.y - 1 && chain.x0 <= r.x1 && r.x0 <= chain.x1;
        if (!goesOn) chain.close(), chain.from = r.y, chain.size = 0;
        chain.size += r.x1 - r.x0 + 1;
        chain.row = r.y, chain.x0 = r.x0, chain.x1 = r.x1;
    }
    for (SectorChain& chain : chains) chain.close();
    const Surface::Rows rows = rows_;
    const QRgb o = wheel_.outline;
    for (const Run& r : runs) {
        const SectorChain& chain = chains[std::size_t(r.key)];
        if (r.y < chain.bestFrom || r.y > chain.bestTo) {
            QRgb* const line = rows[r.y];
            for (int x = r.x0; x <= r.x1; ++x) line[x] = o;  // a crumb: a pixel or two
        }
    }
    return true;
}

// The runs joined into patches over the rows, whatever their sectors.
void WideWheel::joinRuns() {
    const std::vector<Run>& runs = buffers_.runs;
    buffers_.parent.clear();
    std::size_t previousBegin = 0, previousEnd = 0;
    for (std::size_t rowBegin = 0; rowBegin < runs.size();) {
        const int y = runs[rowBegin].y;
        std::size_t rowEnd = rowBegin;
        while (rowEnd < runs.size() && runs[rowEnd].y == y) ++rowEnd;
        if (previousEnd == 0 || runs[previousBegin].y != y - 1) previousBegin = previousEnd;
        joinToRowAbove(previousBegin, previousEnd, rowBegin, rowEnd);
        previousBegin = rowBegin;
        previousEnd = rowBegin = rowEnd;
    }
}

// A sector pixel has the sector of the pixel below it whenever that one is a sector pixel
// too; so runs that overlap across two rows are one patch. Joins the runs rowBegin..rowEnd to
// those of the row above, previousBegin..previousEnd.
void WideWheel::joinToRowAbove(std::size_t previousBegin, std::size_t previousEnd,
                               std::size_t rowBegin, std::size_t rowEnd) {
    const std::vector<Run>& runs = buffers_.runs;
    std::vector<int>& parent = buffers_.parent;
    for (std::size_t i = rowBegin; i < rowEnd; ++i) parent.push_back(int(i));
    std::size_t i = previousBegin, j = rowBegin;
    while (i < previousEnd && j < rowEnd) {
        if (runs[i].x1 < runs[j].x0) {
            ++i;
        } else if (runs[j].x1 < runs[i].x0) {
            ++j;
        } else {
            const int ri = findRoot(parent, int(i)), rj = findRoot(parent, int(j));
            if (ri != rj) parent[std::size_t(std::max(ri, rj))] = std::min(ri, rj);
            if (runs[i].x1 < runs[j].x1)
                ++i;
            else
                ++j;
        }
    }
}

// The same by joining runs into patches with union-find, for any runs. A run's parent is never
// a later run, so one pass in order points every run at its root.
void WideWheel::largestPatchesByJoining() {
    joinRuns();
    const std::vector<Run>& runs = buffers_.runs;
    std::vector<int>& parent = buffers_.parent;
    std::vector<long long>& patchSize = buffers_.patchSize;
    patchSize.assign(runs.size(), 0);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        parent[i] = parent[std::size_t(parent[i])];
        patchSize[std::size_t(parent[i])] += runs[i].x1 - runs[i].x0 + 1;
    }
    buffers_.crumb.assign(runs.size(), 0);
    const double sectorCount = double(wheel_.sectors.last()) + 1;
    const bool anyCrumb = sectorCount <= 4.0 * double(runs.size()) + 4096
                              ? crumbsBySector(sectorCount)
                              : crumbsBySorting();
    if (anyCrumb) paintCrumbs();
}

// Few sectors: the best patch of each, by sector number; every other patch is a crumb.
// Answers whether there is any.
bool WideWheel::crumbsBySector(double sectorCount) {
    const std::vector<Run>& runs = buffers_.runs;
    const std::vector<int>& parent = buffers_.parent;
    const long long* patchSize = buffers_.patchSize.data();
    std::vector<char>& crumb = buffers_.crumb;
    std::vector<int>& best = buffers_.best;
    best.assign(static_cast<std::size_t>(sectorCount), -1);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (parent[i] != int(i)) continue;
        int& b = best[std::size_t(runs[i].key)];
        if (b < 0 || beats(patchSize, int(i), b)) b = int(i);
    }
    bool anyCrumb = false;
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (parent[i] == int(i) && best[std::size_t(runs[i].key)] != int(i))
            crumb[i] = 1, anyCrumb = true;
    return anyCrumb;
}

// Very many sectors: the patches sorted by sector, the best first; every patch after the
// first of its sector is a crumb. Answers whether there is any.
bool WideWheel::crumbsBySorting() {
    const std::vector<Run>& runs = buffers_.runs;
    const std::vector<int>& parent = buffers_.parent;
    const long long* patchSize = buffers_.patchSize.data();
    std::vector<char>& crumb = buffers_.crumb;
    std::vector<int>& roots = buffers_.roots;
    roots.clear();
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (parent[i] == int(i)) roots.push_back(int(i));
    std::sort(roots.begin(), roots.end(), [&](int p, int q) {
        const auto kp = runs[std::size_t(p)].key, kq = runs[std::size_t(q)].key;
        return kp != kq ? kp < kq : beats(patchSize, p, q);
    });
    bool anyCrumb = false;
    for (std::size_t i = 1; i < roots.size(); ++i)
        if (runs[std::size_t(roots[i])].key == runs[std::size_t(roots[i - 1])].key)
            crumb[std::size_t(roots[i])] = 1, anyCrumb = true;
    return anyCrumb;
}

// Paints every run of a crumb outline.
void WideWheel::paintCrumbs() {
    const std::vector<Run>& runs = buffers_.runs;
    const std::vector<int>& parent = buffers_.parent;
    const std::vector<char>& crumb = buffers_.crumb;
    const Surface::Rows rows = rows_;
    const QRgb o = wheel_.outline;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (!crumb[std::size_t(parent[i])]) continue;
        QRgb* line = rows[runs[i].y];
        std::fill(line + runs[i].x0, line + runs[i].x1 + 1, o);
    }
}

// Pixels lo..hi (at least one) of a row in one colour, with a few stores that may overlap.
[[gnu::always_inline]] inline void paintRun(QRgb* line, int lo, int hi, QRgb colour) {
    using Four = QRgb __attribute__((vector_size(16)));
    using Eight = QRgb __attribute__((vector_size(32)));
    const int length = hi - lo + 1;
    if (length <= 2) {
        line[lo] = colour, line[hi] = colour;
    } else if (length <= 4) {
        line[lo] = colour, line[lo + 1] = colour, line[hi - 1] = colour, line[hi] = colour;
    } else if (length <= 8) {
        const Four four = Four{} + colour;
        std::memcpy(line + lo, &four, sizeof four);
        std::memcpy(line + hi - 3, &four, sizeof four);
    } else {
        const Eight eight = Eight{} + colour;
        int x = lo;
        for (; x < hi - 31; x += 32) {
            std::memcpy(line + x, &eight, sizeof eight);
            std::memcpy(line + x + 8, &eight, sizeof eight);
            std::memcpy(line + x + 16, &eight, sizeof eight);
            std::memcpy(line + x + 24, &eight, sizeof eight);
        }
        for (; x < hi - 7; x += 8) std::memcpy(line + x, &eight, sizeof eight);
        std::memcpy(line + hi - 7, &eight, sizeof eight);
    }
}

// The disc's pixels, its rim (which leaves out the radius at 3 o'clock too) and its core, for
// each row of the wheel and the rows just above and below it, in columns from the centre's
// pixel column.
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

// A wheel wholly inside the picture, drawn sector by sector instead of pixel by pixel: where
// sectors are a few pixels wide, a row crosses about as many of them as it has pixels, and
// working out each pixel's sector, then joining the runs row to row, costs many times the
// picture. Here every sector is followed down the rows from the radius lines that bound it,
// sixteen sectors side by side in the 16-bit lanes of a vector register (eight in 32-bit lanes
// where a patch may hold more pixels than 16 bits count).
//
// On a row above the centre the pixels of sector k are those right of its line at (k + 1) *
// step and up to its line at k * step (below the centre the other way round), the line crossing
// the row at x = cx + dy * cot(angle); a line beyond the half of the row's side (at 0, 9 o'clock
// or further) bounds nothing there, and a sector wholly on the other side has no pixels. Both
// sectors of a line take its crossing from the same sum, so the sectors share out every row with
// no pixel in two. The sector's patch pixels on row y are then one run (those of its pixels whose
// right neighbour is in it too, whose lower neighbour is in its pixels of row y + 1, and that
// are neither on the rim nor in the core), so its patches are the stretches of rows whose runs
// overlap from one row to the next, and the largest (the first on a tie) is kept. The work is a
// few vector steps per sector and row it crosses plus a pixel write per pixel of colour.
// Columns are counted from the centre's pixel column, so that they fit 16 bits.
class SectorWalk {
  public:
    // `outlined`: the rows' shapes, worked out already, of a wheel whose disc is painted
    // outline already (one not painted from one end); or null. Only the rows of `band` are
    // written; the sectors that cross them are walked all the way, for their largest patches.
    SectorWalk(const Wheel& wheel, Surface::Rows rows, WheelBuffers& buffers,
               std::vector<RowShape>* outlined, Band band)
        : wheel_(wheel),
          band_{std::max(band.first, wheel.y0), std::min(band.last, wheel.y1)},
          rows_(rows),
          buffers_(buffers),
          shapes_(outlined ? *outlined : buffers.shapes),
          outlined_(outlined != nullptr),
          rotation_{wheel.step, std::sin(wheel.step), std::cos(wheel.step)},
          whole_(int(wheel.centre.whole)),
          // A patch lies in one sector, whose pixels are at most about its area and rim (the
          // last sector reaches round to 3 o'clock, past n * step).
          narrow_(widest(wheel) * wheel.radius * wheel.radius / 2 + 9 * wheel.radius + 16 < 32000) {
    }

    // Answers false where the centre pixel or the core would cut a sector's run in two (not a
    // chain of single runs); the wheel must then be drawn another way, over what is painted.
    bool draw() {
        if (!outlined_) shapeRows(wheel_, shapes_);
        // Wide sectors are painted a row at a time from one end, each pixel once; narrow ones,
        // with many short runs, over a disc painted outline first, which costs less per run.
        tiled_ = tiles(wheel_);
        if (!tiled_ && !outlined_) paintOutline();
        const int width = narrow_ ? 16 : 8;
        Angle from{0, 0, 1};
        for (std::int64_t first = 0; first <= wheel_.sectors.last(); first += width) {
            const bool lastLanes = first + width > wheel_.sectors.last();
            const double to = lastLanes ? 6.283185307179586 : double(first + width) * wheel_.step;
            const Angle end{to, std::sin(to), std::cos(to)};
            if (!walk(std::int32_t(first), from, end)) return false;
            from = end;
        }
        if (tiled_) finishRows();
        return true;
    }

    // An angle with its sine and cosine.
    struct Angle {
        double at, sin, cos;
    };

    // Whether the wheel's rows are painted from one end rather than over an outline disc.
    static bool tiles(const Wheel& wheel) { return wheel.radius * wheel.step >= 32; }

  private:
    // The angle of the widest sector.
    static double widest(const Wheel& wheel) {
        return std::max(wheel.step, 6.2832 - double(wheel.sectors.last()) * wheel.step);
    }
    void paintOutline() const;
    void finishRows();
    bool walk(std::int32_t first, const Angle& start, const Angle& end);
    template <class V>
    [[gnu::always_inline]] bool walkLanes(std::int32_t first, const Angle& start, const Angle& end);
    void rowsOfSectors(const Angle& from, const Angle& to, int& top, int& bottom) const;
    template <class V>
    [[gnu::always_inline]] void paintLargest(std::int32_t first, int top, int bottom, const V& from,
                                             const V& to, const V& longest, const V* runLo,
                                             const V* runHi);
    const RowShape& shape(int y) const { return shapes_[std::size_t(y - wheel_.y0 + 1)]; }

    const Wheel& wheel_;
    const Band band_;  // the wheel's rows that this drawing writes
    const Surface::Rows rows_;
    WheelBuffers& buffers_;
    std::vector<RowShape>& shapes_;
    const bool outlined_;
    const Angle rotation_;  // a step
    const int whole_;       // the centre's pixel column, which columns are counted from
    const bool narrow_;     // sixteen lanes of 16 bits
    bool tiled_ = false;    // rows painted from one end rather than over an outline disc
};

RC_VECTOR_CLONES
void SectorWalk::paintOutline() const {
    for (int y = band_.first; y <= band_.last; ++y) {
        const RowShape& row = shape(y);
        if (row.lo <= row.hi) paintRun(rows_[y] + whole_, row.lo, row.hi, wheel_.outline);
    }
}

// The pixels of each row that no kept run reached: outline.
RC_VECTOR_CLONES
void SectorWalk::finishRows() {
    for (int y = band_.first; y <= band_.last; ++y) {
        const RowShape& row = shape(y);
        const bool leftwards = double(y) <= wheel_.cy;
        const int lo = leftwards ? row.lo : row.reached + 1;
        const int hi = leftwards ? row.reached - 1 : row.hi;
        if (lo <= hi) paintRun(rows_[y] + whole_, lo, hi, wheel_.outline);
    }
}

// How far apart, in angle times the distance from the centre, a pixel and its right and lower
// neighbours lie seen from the centre, at an angle of that sine and cosine: a step right turns
// the angle by -sin / distance and a step down by -cos / distance.
double neighbourSpread(double sin, double cos) {
    return std::max({0.0, -sin, -cos}) - std::min({0.0, -sin, -cos});
}

// The rows that the sectors between two angles may hold patch pixels on: between the heights
// of those angles at the rim and where the sectors narrow too much. A patch pixel and its right
// and lower neighbours lie in one sector, so it lies further out than spread / step (less a
// margin for the angles being worked out to first order), and outside the core.
void SectorWalk::rowsOfSectors(const Angle& from, const Angle& to, int& top, int& bottom) const {
    const double turn = 6.283185307179586;
    auto within = [&](double angle) { return from.at <= angle && angle <= to.at; };
    const double high = within(turn / 4) ? 1 : std::max(from.sin, to.sin);
    const double low = within(3 * turn / 4) ? -1 : std::min(from.sin, to.sin);
    double spread = std::min(neighbourSpread(from.sin, from.cos), neighbourSpread(to.sin, to.cos));
    if (within(turn / 8) || within(5 * turn / 8)) spread = std::sqrt(0.5);  // the narrowest
    const double inside = std::max({0.0, wheel_.coreRadius - 2, spread / wheel_.step - 3});
    const double outside = wheel_.radius + 1;
    const double rise = high * (high >= 0 ? outside : inside);
    const double fall = low * (low <= 0 ? outside : inside);
    top = int(std::max(double(wheel_.y0), std::floor(wheel_.cy - rise) - 1));
    bottom = int(std::min(double(wheel_.y1), std::ceil(wheel_.cy - fall) + 1));
}

// Floor and ceiling of every lane, for values well inside the range of int.
[[gnu::always_inline]] inline void floorOf(const Floats& v, Ints& out) {
    const Ints t = __builtin_convertvector(v, Ints);
    out = t + (__builtin_convertvector(t, Floats) > v);  // true is -1
}
[[gnu::always_inline]] inline void ceilOf(const Floats& v, Ints& out) {
    const Ints t = __builtin_convertvector(v, Ints);
    out = t - (__builtin_convertvector(t, Floats) < v);
}

// Where the lines of `cot` cross the row dy above the centre, from the centre's pixel column;
// held at the disc's reach where a line could cross too far out to convert to a whole number.
[[gnu::always_inline]] inline void crossings(const Floats& cot, float dy, float fraction,
                                             float reach, bool hold, Floats& out) {
    const Floats zero = {};
    const Floats x = fraction + dy * cot;
    out = !hold ? x : x < -reach ? zero - reach : x > reach ? zero + reach : x;
}

// The lanes of a walk: 16-bit numbers sixteen to a register, or 32-bit ones eight to it; the
// crossings are worked out eight at a time in single precision either way.
template <class V>
struct LaneKind {
    using Number = std::remove_cvref_t<decltype(V{}[0])>;
    static constexpr int width = int(sizeof(V) / sizeof(Number));
    static constexpr int halves = width / 8;
};

// Whole-numbered crossings, eight at a time, into one register of lanes; for 16-bit lanes held
// within 10 000 columns first (such wheels are under 8 000 pixels across, so a crossing that
// far out lies beyond the disc either way, and differences of columns fit 16 bits).
template <class V>
[[gnu::always_inline]] inline void joinLanes(const Ints* parts, V& out) {
    if constexpr (LaneKind<V>::halves == 1) {
        out = parts[0];
    } else {
        const Ints zero = {};
        Ints low = parts[0], high = parts[1];
        const Ints most = zero + 10000, least = zero - 10000;
        low = low < most ? low : most;
        low = low > least ? low : least;
        high = high < most ? high : most;
        high = high > least ? high : least;
        out = __builtin_shufflevector((V)low, (V)high, 0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22,
                                      24, 26, 28, 30);
    }
}

// What the lanes' sectors are drawn from: their numbers, the cotangents of the lines that bound
// their pixels on a row above the centre (left, right) and below it, eight a register, and the
// wheel's place.
template <class V>
struct Lanes {
    static constexpr int halves = LaneKind<V>::halves;
    Floats upLeft[halves], upRight[halves], downLeft[halves], downRight[halves];
    // The last lane's left line above the centre and its right one below: where every other
    // lane's left line above is the next lane's right one (and below the other way round), the
    // lanes' lines are a chain, and each crossing is worked out once for the two lanes it bounds.
    float upLast, downLast;
    V sector;
    const RowShape* shapes;  // of row y at shapes[y]
    double cy;
    float fraction, reach, steepest;
    bool sixAxis;  // the centre on a pixel column: the axis at 6 o'clock is one of pixels
    std::int32_t six, nine;
    int centreRow, centreColumn;  // the centre pixel, its column counted from the centre's
};

// The crossings of lines `cot` with a row dy above the centre, as whole pixels: their floor
// (right to left, above the centre) or ceiling (below it).
template <class V, bool floor>
[[gnu::always_inline]] inline void edges(const Floats* cot, float dy, float fraction, float reach,
                                         bool hold, V& out) {
    Ints parts[LaneKind<V>::halves];
    for (int h = 0; h < LaneKind<V>::halves; ++h) {
        Floats x;
        crossings(cot[h], dy, fraction, reach, hold, x);
        if constexpr (floor)
            floorOf(x, parts[h]);
        else
            ceilOf(x, parts[h]);
    }
    joinLanes(parts, out);
}

// The same for a chain of lines: `here` gets the crossings of the lanes' own lines and `next`
// those of the lines one lane on, the last lane's from `after`. The lines are held beforehand
// and the rows are away from the centre's, so no crossing needs holding.
template <class V, bool floor>
[[gnu::always_inline]] inline void chainEdges(const Floats* lines, float after, float dy,
                                              float fraction, V& here, V& next) {
    using Number = typename LaneKind<V>::Number;
    edges<V, floor>(lines, dy, fraction, 0, false, here);
    // The last line alone, as a lane of edges() would work it out.
    float x = fraction + dy * after;
    x = floor ? std::floor(x) : std::ceil(x);
    if constexpr (LaneKind<V>::halves == 2) x = std::clamp(x, -10000.0f, 10000.0f);
    const V last = V{} + Number(x);
    if constexpr (LaneKind<V>::width == 16)
        next = __builtin_shufflevector(here, last, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,
                                       15, 16);
    else
        next = __builtin_shufflevector(here, last, 1, 2, 3, 4, 5, 6, 7, 8);
}

// Which rows a stretch of the walk takes (by the row below, whose pixels it works out): rows
// above the centre far enough from the row through it that no crossing needs holding, the
// same below, or any row.
enum class Part { Above, Below, Any };

// The pixels [a, b] of each lane's sector on row y (empty where a > b; the ends may lie beyond
// the disc), less the core's; `cut` gets the lanes whose pixels the core cuts in two. With
// `chained`, above or below the centre, the lines are taken as a chain.
template <Part part, bool chained, class V>
[[gnu::always_inline]] inline void pixelsOf(const Lanes<V>& lanes, int y, V& a, V& b, V& cut) {
    using Number = typename LaneKind<V>::Number;
    const RowShape& row = lanes.shapes[y];
    const double dy = lanes.cy - double(y);
    const V zero = {};
    // The cotangents are at most `steepest`: away from the row through the centre every line
    // crosses a row within the range of int, and a line that stands for none misses the disc.
    const bool hold = part == Part::Any && std::fabs(dy) * lanes.steepest < lanes.reach + 1;
    static_assert(!chained || part != Part::Any);
    if (part == Part::Above || (part == Part::Any && dy > 0)) {
        if constexpr (chained) {
            chainEdges<V, true>(lanes.upRight, lanes.upLast, row.dy, lanes.fraction, b, a);
        } else {
            edges<V, true>(lanes.upLeft, row.dy, lanes.fraction, lanes.reach, hold, a);
            edges<V, true>(lanes.upRight, row.dy, lanes.fraction, lanes.reach, hold, b);
        }
        a += 1;
    } else if (part == Part::Below || dy < 0) {
        if constexpr (chained) {
            chainEdges<V, false>(lanes.downLeft, lanes.downLast, row.dy, lanes.fraction, a, b);
        } else {
            edges<V, false>(lanes.downLeft, row.dy, lanes.fraction, lanes.reach, hold, a);
            edges<V, false>(lanes.downRight, row.dy, lanes.fraction, lanes.reach, hold, b);
        }
        b -= 1;
        // The axis at 6 o'clock (column 0) belongs to the sector before a line just short of it.
        if (lanes.sixAxis) {
            const V mine = lanes.sector == Number(lanes.six);
            a = mine ? (a < 0 ? a : zero) : a - (a == 0);  // true is -1
            b = mine ? (b > 0 ? b : zero) : b + (b == 0);
        }
    } else {
        // The row through the centre: 9 o'clock to the left, 3 o'clock from the centre on.
        const int split = std::clamp(lanes.fraction > 0 ? 1 : 0, row.lo, row.hi + 1);
        const V nine = lanes.sector == Number(lanes.nine), east = lanes.sector == 0;
        a = nine ? zero + Number(row.lo) : east ? zero + Number(split) : zero + 1;
        b = east ? zero + Number(row.hi) : nine ? zero + Number(split - 1) : zero;
    }
    // Left unclamped to the disc: the runs are clamped to its inner pixels.
    if (row.coreLo > row.coreHi) return;
    // (Written with < and > alone, which the processor compares in one step.)
    const V coreLo = zero + Number(row.coreLo), coreHi = zero + Number(row.coreHi);
    a = (a < coreLo) | (a > coreHi) ? a : coreHi + 1;
    b = (b < coreLo) | (b > coreHi) ? b : coreLo - 1;
    cut |= (a < coreLo) & (b > coreHi);
}

// The pixels of each lane's run lo..hi; an empty run's ends may lie far apart, so the
// difference wraps round (as unsigned numbers do) instead of overflowing, and is masked off.
[[gnu::always_inline]] inline void lengthOf(const Ints& lo, const Ints& hi, Ints& out) {
    using Unsigned = std::uint32_t __attribute__((vector_size(sizeof(Ints))));
    out = Ints(Unsigned(hi) - Unsigned(lo) + 1);
}
[[gnu::always_inline]] inline void lengthOf(const Shorts& lo, const Shorts& hi, Shorts& out) {
    using Unsigned = std::uint16_t __attribute__((vector_size(sizeof(Shorts))));
    out = Shorts(Unsigned(hi) - Unsigned(lo) + 1);
}

// Walking down rows first..last: each lane's pixels on the row (a, b), its run on the row
// above, its patch so far and its largest one, and the lanes whose runs the centre pixel or the
// core cut in two.
template <class V>
struct WalkState {
    V a, b, lastLo, lastHi, size, from, best, bestFrom, bestTo, cut;
    V longest;  // the longest run of each lane
};

// Rows first..last of the walk; their runs go to runLo / runHi[y - top].
template <Part part, bool chained, class V>
[[gnu::always_inline]] inline void walkRows(const Lanes<V>& lanes, WalkState<V>& walk, int first,
                                            int last, int top, V* runLo, V* runHi) {
    using Number = typename LaneKind<V>::Number;
    const V zero = {};
    V row = zero + Number(first);  // y in every lane
    for (int y = first; y <= last; ++y, row += 1) {
        V nextA, nextB;
        pixelsOf<part, chained>(lanes, y + 1, nextA, nextB, walk.cut);
        const RowShape& shape = lanes.shapes[y];
        // The run: the pixels whose right neighbour is the sector's, and whose lower one too.
        V lo = walk.a > nextA ? walk.a : nextA, hi = walk.b - 1 < nextB ? walk.b - 1 : nextB;
        lo = lo > Number(shape.innerLo) ? lo : zero + Number(shape.innerLo);
        hi = hi < Number(shape.innerHi) ? hi : zero + Number(shape.innerHi);
        if (y == lanes.centreRow) {
            const Number c = Number(lanes.centreColumn);
            walk.cut |= (lo < c) & (hi > c);
            lo -= lo == c;  // true is -1
            hi += hi == c;
        }
        std::memcpy(runLo + (y - top), &lo, sizeof lo);
        std::memcpy(runHi + (y - top), &hi, sizeof hi);
        // A patch goes on where this run overlaps the run above; one that ends may be the
        // largest so far (the first of equal ones stays). (Written with < and > alone.)
        const V none = lo > hi, noneBefore = walk.lastLo > walk.lastHi;
        const V goesOn = ~(none | noneBefore | (lo > walk.lastHi) | (walk.lastLo > hi));
        const V larger = ~noneBefore & ~goesOn & (walk.size > walk.best);
        walk.best = larger ? walk.size : walk.best;
        walk.bestFrom = larger ? walk.from : walk.bestFrom;
        walk.bestTo = larger ? row - 1 : walk.bestTo;
        V length;
        lengthOf(lo, hi, length);
        length &= ~none;
        walk.size = (goesOn & walk.size) + length;
        walk.longest = walk.longest > length ? walk.longest : length;
        walk.from = goesOn ? walk.from : row;
        walk.lastLo = lo, walk.lastHi = hi, walk.a = nextA, walk.b = nextB;
    }
}

// Sectors first.. down their rows, a lane each: their pixels on each row from the crossings
// of their lines, their patch runs, their patches as stretches of overlapping runs; then
// their largest patches painted.
template <class V>
[[gnu::always_inline]] inline bool SectorWalk::walkLanes(std::int32_t first, const Angle& start,
                                                         const Angle& end) {
    using Number = typename LaneKind<V>::Number;
    constexpr int width = LaneKind<V>::width;
    const Wheel& wheel = wheel_;
    const std::int32_t last = wheel.sectors.last();
    const double pi = 3.141592653589793;
    int top = 0, bottom = -1;
    rowsOfSectors(start, end, top, bottom);
    if (top > bottom || bottom < band_.first || top > band_.last) return true;
    // The cotangents of the lanes' lines, turned on from the first by a step at a time; the
    // line after the last lane is the next lanes' first, taken from the same sine and cosine
    // so that both sectors of a line see it cross a row at one place.
    double cot[width + 1];
    double c = start.cos, s = start.sin;
    for (int l = 0; l < width; ++l) {
        cot[l] = c / s;
        const double turned = c * rotation_.cos - s * rotation_.sin;
        s = s * rotation_.cos + c * rotation_.sin, c = turned;
    }
    cot[width] = end.cos / end.sin;
    // Cotangents are held within `none` (a line that steep crosses only rows beside the centre
    // inside the disc), and `none` itself stands for no line: the row's end, or, with the
    // other sign, no pixels.
    const float none = float((1 << 30) / (wheel.radius + 2));
    // The lines' cotangents, held, and their angles.
    float line[width + 1];
    double angle[width + 1];
    for (int j = 0; j <= width; ++j) {
        line[j] = float(std::clamp(cot[j], -double(none), double(none)));
        angle[j] = double(std::int64_t(first) + j) * wheel.step;
    }
    Lanes<V> lanes;
    float upLeft[width], upRight[width], downLeft[width], downRight[width];
    bool chainedUp = true, chainedDown = true;
    // Lanes wholly above the centre or wholly below it, none the first or the last sector (as
    // most are): each lane's lines are its own and the next lane's.
    const bool inner = first > 0 && std::int64_t(first) + width - 1 < last;
    if (inner && (angle[width] < pi || angle[0] > pi)) {
        const bool up = angle[width] < pi;
        for (int l = 0; l < width; ++l) {
            upRight[l] = up ? line[l] : -none, upLeft[l] = up ? line[l + 1] : none;
            downLeft[l] = up ? -none : line[l], downRight[l] = up ? none : line[l + 1];
            lanes.sector[l] = Number(first + l);
        }
        chainedUp = up, chainedDown = !up;
    } else {
        for (int l = 0; l < width; ++l) {
            const std::int64_t k = std::int64_t(first) + l;
            const double from = angle[l];
            const double to = k == last ? 2 * pi : angle[l + 1];
            const bool up = k <= last && from < pi, down = k <= last && to > pi;
            upRight[l] = !up ? -none : k > 0 ? line[l] : none;
            upLeft[l] = !up ? none : to < pi ? line[l + 1] : -none;
            downLeft[l] = !down ? -none : from > pi ? line[l] : none;
            downRight[l] = !down ? none : k < last ? line[l + 1] : -none;
            lanes.sector[l] = Number(std::min(k, std::int64_t(last) + 1));
        }
        for (int l = 0; l + 1 < width; ++l) {
            chainedUp &= std::bit_cast<std::uint32_t>(upLeft[l]) ==
                         std::bit_cast<std::uint32_t>(upRight[l + 1]);
            chainedDown &= std::bit_cast<std::uint32_t>(downRight[l]) ==
                           std::bit_cast<std::uint32_t>(downLeft[l + 1]);
        }
    }
    for (int l = 0; l < width; ++l) {
        const int h = l / 8, i = l % 8;
        lanes.upLeft[h][i] = upLeft[l], lanes.upRight[h][i] = upRight[l];
        lanes.downLeft[h][i] = downLeft[l], lanes.downRight[h][i] = downRight[l];
    }
    lanes.upLast = upLeft[width - 1], lanes.downLast = downRight[width - 1];
    lanes.shapes = shapes_.data() - (wheel.y0 - 1);
    lanes.cy = wheel.cy;
    lanes.fraction = float(wheel.centre.fraction);
    lanes.reach = float(wheel.radius + 4);
    lanes.steepest = none;
    lanes.sixAxis = wheel.centre.fraction == 0;
    lanes.six = wheel.sectors.six(), lanes.nine = wheel.sectors.nine();
    lanes.centreRow = wheel.centreRow, lanes.centreColumn = wheel.centreColumn - whole_;
    // The runs of every row, kept for painting.
    std::vector<V>&runLo = buffers_.runLanes<V>(0), &runHi = buffers_.runLanes<V>(1);
    atLeast(runLo, std::size_t(bottom - top + 1));
    atLeast(runHi, std::size_t(bottom - top + 1));

    const V zero = {}, one = zero + 1;
    WalkState<V> walk{one, zero, one, zero, zero, zero, zero, one, zero, zero, zero};
    pixelsOf<Part::Any, false>(lanes, top, walk.a, walk.b, walk.cut);
    // The rows whose lower neighbour lies far enough above the centre, then those near it,
    // then those below.
    const double far = (lanes.reach + 1) / double(lanes.steepest);
    const int above = int(std::clamp(std::floor(wheel.cy - 1 - far), top - 1.0, double(bottom)));
    const int below =
        int(std::clamp(std::ceil(wheel.cy - 1 + far), double(above + 1), bottom + 1.0));
    if (chainedUp)
        walkRows<Part::Above, true>(lanes, walk, top, above, top, runLo.data(), runHi.data());
    else
        walkRows<Part::Above, false>(lanes, walk, top, above, top, runLo.data(), runHi.data());
    walkRows<Part::Any, false>(lanes, walk, above + 1, below - 1, top, runLo.data(), runHi.data());
    if (chainedDown)
        walkRows<Part::Below, true>(lanes, walk, below, bottom, top, runLo.data(), runHi.data());
    else
        walkRows<Part::Below, false>(lanes, walk, below, bottom, top, runLo.data(), runHi.data());
    for (int l = 0; l < width; ++l)
        if (walk.cut[l]) return false;
    const V larger = (walk.lastLo <= walk.lastHi) & (walk.size > walk.best);
    walk.bestFrom = larger ? walk.from : walk.bestFrom;
    walk.bestTo = larger ? zero + Number(bottom) : walk.bestTo;
    paintLargest(first, top, bottom, walk.bestFrom, walk.bestTo, walk.longest, runLo.data(),
                 runHi.data());
    return true;
}

// Each lane's largest patch, rows from..to, in its sector's colour, and the outline between it
// and what its rows have painted: a row gets its kept runs in order, right to left down to the
// centre and left to right below it, so each pixel is written once.
template <class V>
[[gnu::always_inline]] inline void SectorWalk::paintLargest(std::int32_t first, int top, int bottom,
                                                            const V& from, const V& to,
                                                            const V& longest, const V* runLo,
                                                            const V* runHi) {
    const QRgb outline = wheel_.outline;
    const int middle = int(std::floor(wheel_.cy));  // the last row painted leftwards
    for (int l = 0; l < LaneKind<V>::width && first + l <= wheel_.sectors.last(); ++l) {
        const QRgb colour = first + l <= wheel_.lastBlue ? wheel_.filled : wheel_.empty;
        const int begin = std::max({top, int(from[l]), band_.first});
        const int end = std::min({bottom, int(to[l]), band_.last});
        if (begin > end) continue;
        const V* lo = runLo + (begin - top);
        const V* hi = runHi + (begin - top);
        uchar* line = rows_.bits + begin * rows_.bytesPerLine + whole_ * int(sizeof(QRgb));
        RowShape* row = shapes_.data() + (begin - wheel_.y0 + 1);
        if (!tiled_) {
            // Where every run of the lane is a pixel or two, as where sectors are narrow, they
            // are their two ends, with no choice made run by run.
            const qsizetype step = rows_.bytesPerLine;
            if (longest[l] <= 2) {
                for (int y = begin; y <= end; ++y, ++lo, ++hi, line += step) {
                    QRgb* const pixels = reinterpret_cast<QRgb*>(line);
                    pixels[(*lo)[l]] = colour, pixels[(*hi)[l]] = colour;
                }
            } else {
                for (int y = begin; y <= end; ++y, ++lo, ++hi, line += step)
                    paintRun(reinterpret_cast<QRgb*>(line), (*lo)[l], (*hi)[l], colour);
            }
            continue;
        }
        // The outline between each run and what its row has painted, then the run.
        const int turn = std::min(end, middle);
        int y = begin;
        for (; y <= turn; ++y, ++lo, ++hi, line += rows_.bytesPerLine, ++row) {
            QRgb* const pixels = reinterpret_cast<QRgb*>(line);
            const int a = (*lo)[l], b = (*hi)[l];
            if (b + 1 < row->reached) paintRun(pixels, b + 1, row->reached - 1, outline);
            row->reached = a;
            paintRun(pixels, a, b, colour);
        }
        for (; y <= end; ++y, ++lo, ++hi, line += rows_.bytesPerLine, ++row) {
            QRgb* const pixels = reinterpret_cast<QRgb*>(line);
            const int a = (*lo)[l], b = (*hi)[l];
            if (row->reached + 1 < a) paintRun(pixels, row->reached + 1, a - 1, outline);
            row->reached = b;
            paintRun(pixels, a, b, colour);
        }
    }
}

RC_VECTOR_CLONES
bool SectorWalk::walk(std::int32_t first, const Angle& start, const Angle& end) {
    return narrow_ ? walkLanes<Shorts>(first, start, end) : walkLanes<Ints>(first, start, end);
}

}  // namespace

// Every pixel of the disc gets the sector of its angle. A pixel is outline when it lies on the
// rim (a 4-neighbour outside the disc), at the centre, on the radius at 3 o'clock (which closes
// the first and the last sector, also when there is only one), or when its right or lower
// neighbour belongs to another sector. So two 4-neighbours that are not outline always share a
// sector, and every patch of a sector's colour lies inside one sector. Where sectors are
// thinner than a pixel every pixel differs from a neighbour and turns outline, as the crowded
// radius lines would paint it; near the centre that is known beforehand (every pixel closer
// than 0.7 / step differs from its right or lower neighbour), and that core is painted without
// working out its sectors. Last, each sector keeps only its largest patch; smaller crumbs (near
// the centre, where the lines crowd) become outline, so that every sector is one region.
// A circle wholly inside the picture is drawn sector by sector (SectorWalk): sixteen sectors at
// a time followed down the rows from the crossings of their radius lines, a few vector steps
// per sector and row plus a pixel write per pixel of colour. Others are drawn row by row
// (WideWheel, ThinWheel): a few passes over the disc's pixels, whatever n is; rows cut by few
// radius lines run by run, the others pixel by pixel.
namespace {

// The buffers of the wheels drawn on this thread, kept from one wheel to the next (see
// WheelBuffers).
WheelBuffers& threadBuffers() {
    thread_local WheelBuffers buffers;
    return buffers;
}

// The rows of `band` of a wheel drawn sector by sector; `outlined`: as for SectorWalk. False
// where it must be drawn another way (see SectorWalk::draw).
bool walkBand(const Wheel& wheel, Surface::Rows rows, std::vector<RowShape>* outlined, Band band) {
    return SectorWalk(wheel, rows, threadBuffers(), outlined, band).draw();
}

// A wheel drawn row by row, over whatever its disc holds.
void drawRowByRow(const Wheel& wheel, Surface::Rows rows) {
    if (wheel.thin)
        ThinWheel(wheel, rows).draw(threadBuffers());
    else
        WideWheel(wheel, rows, threadBuffers()).draw();
}

// Draws a wheel; `outlined`: as for SectorWalk.
void drawWheel(const Wheel& wheel, Surface::Rows rows, std::vector<RowShape>* outlined) {
    if (!wheel.walks || !walkBand(wheel, rows, outlined, {wheel.y0, wheel.y1}))
        drawRowByRow(wheel, rows);
}

// A wheel whose disc the clearing pass paints outline, with its rows' shapes.
struct OutlinedWheel {
    const Wheel* wheel;
    std::vector<RowShape>* shapes;  // null for a wheel drawn over the background
};

// Clears the rows of `band` to `background`, but for the discs of the wheels `outlined` that
// have their rows' shapes (apart, in order from left to right), which are painted outline
// instead: each row in one pass from left to right.
RC_VECTOR_CLONES
void clearAround(Surface::Rows rows, int width, Band band, QRgb background,
                 std::span<const OutlinedWheel> outlined) {
    for (int y = band.first; y <= band.last; ++y) {
        QRgb* const line = rows[y];
        int x = 0;
        for (const auto& [wheelOf, shapes] : outlined) {
            const Wheel& wheel = *wheelOf;
            if (!shapes || y < wheel.y0 || y > wheel.y1) continue;
            const RowShape& row = (*shapes)[std::size_t(y - wheel.y0 + 1)];
            const int whole = int(wheel.centre.whole), lo = row.lo + whole, hi = row.hi + whole;
            if (lo > hi) continue;
            if (x < lo) paintRun(line, x, lo - 1, background);
            paintRun(line, lo, hi, wheel.outline);
            x = hi + 1;
        }
        if (x < width) paintRun(line, x, width - 1, background);
    }
}

// Runs `here` on this thread and `there` beside it on a thread of the pool; returns when both
// are done. Whichever comes first to `there` runs it: when no thread of the pool has started it
// by the time `here` is done (none free, or no processor free yet), this thread runs it too
// rather than wait for one.
void runSideBySide(const std::function<void()>& here, const std::function<void()>& there) {
    struct Handover {
        std::atomic<bool> taken{false};
        std::latch done{1};
    };
    const auto handover = std::make_shared<Handover>();
    const bool queued = QThreadPool::globalInstance()->tryStart([handover, &there] {
        if (handover->taken.exchange(true)) return;  // done on the other thread already
        there();
        handover->done.count_down();
    });
    here();
    if (!queued || !handover->taken.exchange(true))
        there();
    else
        handover->done.wait();
}

}  // namespace

void drawSectorWheel(Surface& surface, double cx, double cy, double radius, double n, double k,
                     Colour filled, Colour empty, Colour outline) {
    int y0 = 0, y1 = -1;
    if (!rowsOfWheel(surface, cx, cy, radius, n, y0, y1)) return;
    const Wheel wheel(surface, y0, y1, cx, cy, radius, n, k, filled, empty, outline);
    drawWheel(wheel, surface.rows(), nullptr);  // rows(): copies a shared image once
}

// The wheels that are drawn sector by sector over an outline disc get that disc in the clearing
// pass, when no two wheels come near each other (so that none is drawn over another): the disc's
// pixels are written once less. When every wheel lies wholly inside the picture (so is drawn
// sector by sector), the picture is cut into an upper and a lower band of rows, and each band is
// cleared and drawn by a thread of its own: bands of whole rows, because two threads writing the
// same rows side by side can take longer than one (on some machines, much longer).
void clearAndDrawSectorWheels(Surface& surface, Colour background,
                              std::span<const SectorWheel> wheels) {
    std::vector<Wheel> drawn;
    drawn.reserve(wheels.size());
    for (const SectorWheel& w : wheels) {
        int y0 = 0, y1 = -1;
        if (rowsOfWheel(surface, w.cx, w.cy, w.radius, w.n, y0, y1))
            drawn.emplace_back(surface, y0, y1, w.cx, w.cy, w.radius, w.n, w.k, w.filled, w.empty,
                               w.outline);
    }
    auto x = [](const Wheel& wheel) { return wheel.centre.whole + wheel.centre.fraction; };
    bool apart = true;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            const double reach = drawn[i].radius + drawn[j].radius + 2;
            apart &= std::fabs(x(drawn[i]) - x(drawn[j])) > reach ||
                     std::fabs(drawn[i].cy - drawn[j].cy) > reach;
        }
    }
    const Surface::Rows rows = surface.rows();
    if (!apart) {
        surface.clear(background);
        for (const Wheel& wheel : drawn) drawWheel(wheel, rows, nullptr);
        return;
    }
    // The wheels from left to right, as the clearing pass meets them, those drawn over an
    // outline disc with their rows' shapes (kept from one drawing to the next).
    std::vector<OutlinedWheel> ordered;
    for (const Wheel& wheel : drawn) ordered.push_back({&wheel, nullptr});
    std::sort(ordered.begin(), ordered.end(), [&](const OutlinedWheel& p, const OutlinedWheel& q) {
        return x(*p.wheel) < x(*q.wheel);
    });
    thread_local std::vector<std::vector<RowShape>> shapeSets;
    shapeSets.resize(std::max(shapeSets.size(), ordered.size()));
    bool walking = !ordered.empty();
    int top = surface.height(), bottom = -1;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const Wheel& wheel = *ordered[i].wheel;
        if (wheel.walks && !SectorWalk::tiles(wheel)) {
            ordered[i].shapes = &shapeSets[i];
            shapeRows(wheel, shapeSets[i]);
        }
        walking &= wheel.walks;
        top = std::min(top, wheel.y0), bottom = std::max(bottom, wheel.y1);
    }
    const int width = surface.width(), height = surface.height();
    const QRgb back = Surface::pixelOf(background);
    if (!walking) {
        clearAround(rows, width, {0, height - 1}, back, ordered);
        for (const auto& [wheel, shapes] : ordered) drawWheel(*wheel, rows, shapes);
        return;
    }
    // Each band cleared, then the wheels' rows in it; a wheel that cannot be drawn sector by
    // sector is drawn another way over both bands once they are done.
    const int cut = (top + bottom + 1) / 2;  // the first row of the lower band
    const Band bands[2] = {{0, cut - 1}, {cut, height - 1}};
    std::vector<char> walked[2];
    auto drawBand = [&](int b) {
        clearAround(rows, width, bands[b], back, ordered);
        for (const auto& [wheel, shapes] : ordered)
            walked[b].push_back(walkBand(*wheel, rows, shapes, bands[b]));
    };
    runSideBySide([&] { drawBand(0); }, [&] { drawBand(1); });
    for (std::size_t i = 0; i < ordered.size(); ++i)
        if (!walked[0][i] || !walked[1][i]) drawRowByRow(*ordered[i].wheel, rows);
}

}  // namespace rc
