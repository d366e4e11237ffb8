// The row-by-row drawing of wheels with sectors two pixels wide or more: the sectors of each
// row, its pixels, and its runs of colour for the patches.
#include "pictures/wheel/row_by_row.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "pictures/wheel/fills.h"
#include "pictures/wheel/largest_patches.h"

namespace rc::wheel {

namespace {

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

// The rows' buffers, kept from one wheel to the next on each thread, so that a row of a hundred
// small circles does not allocate them a hundred times.
struct RowBuffers {
    WheelRow here, below;
    std::vector<std::uint8_t> marks;
    std::vector<KeyRun> pieces;
    std::vector<Run> runs;
};

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
    WideWheel(const Wheel& wheel, Surface::Rows rows, RowBuffers& buffers)
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
        if (!buffers_.runs.empty())
            keepLargestPatches(buffers_.runs, wheel_.sectors.last(), rows_, wheel_.outline);
    }

  private:
    void paintRows();
    void sectorsOfRow(WheelRow& row, int y, const Span& span) const;
    void drawRow(int y, const Span& up, const Span& mid, const Span& down, bool hasNext);
    void cutRuns(const RowFrame& frame, const WheelRow& row, const WheelRow& next, bool hasNext);
    void drawRunByRun(const RowFrame& frame, const WheelRow& row);
    void drawPixelByPixel(const RowFrame& frame, WheelRow& row, WheelRow& next);
    void collectRuns(int y, int a, int b, const std::int32_t* keys);

    QRgb colourOf(std::int32_t key) const {
        return key <= wheel_.lastBlue ? wheel_.filled : wheel_.empty;
    }

    const Wheel& wheel_;
    const Surface::Rows rows_;
    RowBuffers& buffers_;
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

}  // namespace

void drawRowByRow(const Wheel& wheel, Surface::Rows rows) {
    if (wheel.thin) {
        drawThinSectors(wheel, rows);
    } else {
        thread_local RowBuffers buffers;
        WideWheel(wheel, rows, buffers).draw();
    }
}

}  // namespace rc::wheel
