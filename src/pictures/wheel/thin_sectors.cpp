// Thin wheels: the disc outline and one patch of colour for each sector, grown from the rim.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "pictures/wheel/fills.h"
#include "pictures/wheel/row_by_row.h"

namespace rc::wheel {

namespace {

// The thin wheels' buffers, kept from one wheel to the next on each thread.
struct ThinBuffers {
    std::vector<double> lines;
    std::vector<std::uint64_t> seen;
    std::vector<std::pair<int, int>> stack;
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

    void draw(ThinBuffers& buffers) {
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

}  // namespace

void drawThinSectors(const Wheel& wheel, Surface::Rows rows) {
    thread_local ThinBuffers buffers;
    ThinWheel(wheel, rows).draw(buffers);
}

}  // namespace rc::wheel
