// The walk down the sectors: each sector followed down the rows from its radius lines, its
// largest patch kept and painted.
#include "pictures/wheel/sector_walk.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <type_traits>
#include <vector>

#include "pictures/wheel/fills.h"
#include "pictures/wheel/walk_lanes.h"

namespace rc::wheel {

namespace {

// The walk's buffers, kept from one wheel to the next on each thread, so that a row of a
// hundred small circles does not allocate them a hundred times.
struct WalkBuffers {
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
};

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
    SectorWalk(const Wheel& wheel, Surface::Rows rows, WalkBuffers& buffers,
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
        if (!tiled_ && !outlined_) paintOutlineDisc(wheel_, rows_, shapes_, band_);
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
    void finishRows();
    bool walk(std::int32_t first, const Angle& start, const Angle& end);
    template <class V>
    [[gnu::always_inline]] bool walkLanes(std::int32_t first, const Angle& start, const Angle& end);
    template <int width>
    [[gnu::always_inline]] void lineCotangents(const Angle& start, const Angle& end, float none,
                                               float* line) const;
    template <class V>
    [[gnu::always_inline]] void boundLanes(std::int32_t first, const float* line, float none,
                                           Lanes<V>& lanes, bool& chainedUp,
                                           bool& chainedDown) const;
    template <class V>
    [[gnu::always_inline]] void placeLanes(float none, Lanes<V>& lanes) const;
    void rowsOfSectors(const Angle& from, const Angle& to, int& top, int& bottom) const;
    template <class V>
    [[gnu::always_inline]] void paintLargest(std::int32_t first, int top, int bottom, const V& from,
                                             const V& to, const V& longest, const V* runLo,
                                             const V* runHi);
    const RowShape& shape(int y) const { return shapes_[std::size_t(y - wheel_.y0 + 1)]; }

    const Wheel& wheel_;
    const Band band_;  // the wheel's rows that this drawing writes
    const Surface::Rows rows_;
    WalkBuffers& buffers_;
    std::vector<RowShape>& shapes_;
    const bool outlined_;
    const Angle rotation_;  // a step
    const int whole_;       // the centre's pixel column, which columns are counted from
    const bool narrow_;     // sixteen lanes of 16 bits
    bool tiled_ = false;    // rows painted from one end rather than over an outline disc
};

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

// The cotangents of the lines of lanes first.., and of the line after the last lane, held
// within `none`: turned on from the first by a step at a time; the line after the last lane is
// the next lanes' first, taken from the same sine and cosine so that both sectors of a line see
// it cross a row at one place.
template <int width>
[[gnu::always_inline]] inline void SectorWalk::lineCotangents(const Angle& start, const Angle& end,
                                                              float none, float* line) const {
    double cot[width + 1];
    double c = start.cos, s = start.sin;
    for (int l = 0; l < width; ++l) {
        cot[l] = c / s;
        const double turned = c * rotation_.cos - s * rotation_.sin;
        s = s * rotation_.cos + c * rotation_.sin, c = turned;
    }
    cot[width] = end.cos / end.sin;
    for (int j = 0; j <= width; ++j)
        line[j] = float(std::clamp(cot[j], -double(none), double(none)));
}

// Each lane's sector and the lines that bound its pixels on a row above the centre and below
// it, from the lines' cotangents `line`; `none` stands for no line: the row's end, or, with the
// other sign, no pixels. Answers in `chainedUp` and `chainedDown` whether the lanes' lines above
// and below the centre are a chain.
template <class V>
[[gnu::always_inline]] inline void SectorWalk::boundLanes(std::int32_t first, const float* line,
                                                          float none, Lanes<V>& lanes,
                                                          bool& chainedUp,
                                                          bool& chainedDown) const {
    using Number = typename LaneKind<V>::Number;
    constexpr int width = LaneKind<V>::width;
    const std::int32_t last = wheel_.sectors.last();
    const double pi = 3.141592653589793;
    double angle[width + 1];
    for (int j = 0; j <= width; ++j) angle[j] = double(std::int64_t(first) + j) * wheel_.step;
    float upLeft[width], upRight[width], downLeft[width], downRight[width];
    chainedUp = true, chainedDown = true;
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
}

// The wheel's place, as the lanes take it; `none` as for boundLanes.
template <class V>
[[gnu::always_inline]] inline void SectorWalk::placeLanes(float none, Lanes<V>& lanes) const {
    const Wheel& wheel = wheel_;
    lanes.shapes = shapes_.data() - (wheel.y0 - 1);
    lanes.cy = wheel.cy;
    lanes.fraction = float(wheel.centre.fraction);
    lanes.reach = float(wheel.radius + 4);
    lanes.steepest = none;
    lanes.sixAxis = wheel.centre.fraction == 0;
    lanes.six = wheel.sectors.six(), lanes.nine = wheel.sectors.nine();
    lanes.centreRow = wheel.centreRow, lanes.centreColumn = wheel.centreColumn - whole_;
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
    int top = 0, bottom = -1;
    rowsOfSectors(start, end, top, bottom);
    if (top > bottom || bottom < band_.first || top > band_.last) return true;
    // Cotangents are held within `none` (a line that steep crosses only rows beside the centre
    // inside the disc), and `none` itself stands for no line.
    const float none = float((1 << 30) / (wheel.radius + 2));
    float line[width + 1];
    lineCotangents<width>(start, end, none, line);
    Lanes<V> lanes;
    bool chainedUp = true, chainedDown = true;
    boundLanes(first, line, none, lanes, chainedUp, chainedDown);
    placeLanes(none, lanes);
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

bool walkSectors(const Wheel& wheel, Surface::Rows rows, std::vector<RowShape>* outlined,
                 Band band) {
    thread_local WalkBuffers buffers;
    return SectorWalk(wheel, rows, buffers, outlined, band).draw();
}

bool walkPaintsFromOneEnd(const Wheel& wheel) {
    return SectorWalk::tiles(wheel);
}

}  // namespace rc::wheel
