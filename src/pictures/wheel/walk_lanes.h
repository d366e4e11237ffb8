// The walk's vector lanes: sixteen (or eight) sectors followed down the rows side by side.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "pictures/wheel/row_shapes.h"

namespace rc::wheel {

// Eight lanes of a vector register (two halves where the processor has no wider ones).
using Floats = float __attribute__((vector_size(32)));
using Ints = std::int32_t __attribute__((vector_size(32)));
using Shorts = std::int16_t __attribute__((vector_size(32)));  // sixteen lanes of 16 bits

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

}  // namespace rc::wheel
