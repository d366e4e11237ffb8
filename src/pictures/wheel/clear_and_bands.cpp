// What the program calls: a wheel drawn the way it takes, and the clearing pass that paints
// the wheels' discs, and on a large picture draws them in two bands of rows on two threads.
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <latch>
#include <memory>
#include <vector>

#include "pictures/sector_wheel.h"
#include "pictures/wheel/fills.h"
#include "pictures/wheel/row_by_row.h"
#include "pictures/wheel/row_shapes.h"
#include "pictures/wheel/sector_walk.h"

namespace rc {

using namespace wheel;

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
// A circle wholly inside the picture is drawn sector by sector (walkSectors): sixteen sectors at
// a time followed down the rows from the crossings of their radius lines, a few vector steps
// per sector and row plus a pixel write per pixel of colour. Others are drawn row by row
// (drawRowByRow): a few passes over the disc's pixels, whatever n is; rows cut by few radius
// lines run by run, the others pixel by pixel.
namespace {

// Draws a wheel; `outlined`: as for walkSectors (for a wheel all outline: its disc is painted).
void drawWheel(const Wheel& wheel, Surface::Rows rows, std::vector<RowShape>* outlined) {
    if (wheel.allOutline) {
        if (!outlined) {
            thread_local std::vector<RowShape> shapes;
            shapeRows(wheel, shapes);
            paintOutlineDisc(wheel, rows, shapes, {wheel.y0, wheel.y1});
        }
        return;
    }
    if (!wheel.walks || !walkSectors(wheel, rows, outlined, {wheel.y0, wheel.y1}))
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

// From this many pixels a picture is cleared and drawn in two bands on two threads.
constexpr qint64 BandsFrom = 2'000'000;

// Where the clearing pass meets a wheel: the column of its centre.
double centreX(const Wheel& wheel) {
    return wheel.centre.whole + wheel.centre.fraction;
}

// Whether no two wheels come near each other, so that none is drawn over another.
bool apart(const std::vector<Wheel>& wheels) {
    for (std::size_t i = 0; i < wheels.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            const double reach = wheels[i].radius + wheels[j].radius + 2;
            if (std::fabs(centreX(wheels[i]) - centreX(wheels[j])) <= reach &&
                std::fabs(wheels[i].cy - wheels[j].cy) <= reach)
                return false;
        }
    }
    return true;
}

// Wheels that all walk or are all outline, apart, in rows top..bottom: each band of the picture
// cleared, then the wheels' rows in it, on two threads; a wheel that cannot be drawn sector by
// sector is drawn another way over both bands once they are done.
void drawInBands(Surface::Rows rows, int width, int height, QRgb background,
                 std::span<const OutlinedWheel> ordered, int top, int bottom) {
    const int cut = (top + bottom + 1) / 2;  // the first row of the lower band
    const Band bands[2] = {{0, cut - 1}, {cut, height - 1}};
    std::vector<char> walked[2];
    auto drawBand = [&](int b) {
        clearAround(rows, width, bands[b], background, ordered);
        for (const auto& [wheel, shapes] : ordered)
            walked[b].push_back(wheel->allOutline || walkSectors(*wheel, rows, shapes, bands[b]));
    };
    runSideBySide([&] { drawBand(0); }, [&] { drawBand(1); });
    for (std::size_t i = 0; i < ordered.size(); ++i)
        if (!walked[0][i] || !walked[1][i]) drawRowByRow(*ordered[i].wheel, rows);
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
// pixels are written once less; so do the wheels that are all outline, which are then done.
// On a large picture (a 4K screen's), when every wheel lies wholly inside it, the picture is
// cut into an upper and a lower band of rows, each cleared and drawn by a thread of its own:
// there two threads beat one in every run on a two-processor machine, by a third to a half.
// On a smaller picture they lost in every run (the handover and the second processor's share
// of the memory cost more than half the work), so it is drawn on this thread alone. Bands of
// whole rows, because two threads writing the same rows side by side can take much longer.
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
    const Surface::Rows rows = surface.rows();
    if (!apart(drawn)) {
        surface.clear(background);
        for (const Wheel& wheel : drawn) drawWheel(wheel, rows, nullptr);
        return;
    }
    // The wheels from left to right, as the clearing pass meets them, those drawn over an
    // outline disc with their rows' shapes (kept from one drawing to the next).
    std::vector<OutlinedWheel> ordered;
    for (const Wheel& wheel : drawn) ordered.push_back({&wheel, nullptr});
    std::sort(ordered.begin(), ordered.end(), [](const OutlinedWheel& p, const OutlinedWheel& q) {
        return centreX(*p.wheel) < centreX(*q.wheel);
    });
    thread_local std::vector<std::vector<RowShape>> shapeSets;
    shapeSets.resize(std::max(shapeSets.size(), ordered.size()));
    bool walking = !ordered.empty();
    int top = surface.height(), bottom = -1;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const Wheel& wheel = *ordered[i].wheel;
        if (wheel.allOutline || (wheel.walks && !walkPaintsFromOneEnd(wheel))) {
            ordered[i].shapes = &shapeSets[i];
            shapeRows(wheel, shapeSets[i]);
        }
        walking &= wheel.walks || wheel.allOutline;
        top = std::min(top, wheel.y0), bottom = std::max(bottom, wheel.y1);
    }
    const int width = surface.width(), height = surface.height();
    const QRgb back = Surface::pixelOf(background);
    if (walking && qint64(width) * height >= BandsFrom) {
        drawInBands(rows, width, height, back, ordered, top, bottom);
        return;
    }
    clearAround(rows, width, {0, height - 1}, back, ordered);
    for (const auto& [wheel, shapes] : ordered) drawWheel(*wheel, rows, shapes);
}

}  // namespace rc
