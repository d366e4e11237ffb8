#include "controls/surface.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace rc {

namespace {
inline QRgb toPixel(Colour c) {
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
inline Colour fromPixel(QRgb p) {
    return RGB(qRed(p), qGreen(p), qBlue(p));
}
}  // namespace

void Surface::resize(int width, int height, Colour fill) {
    image_ = QImage(std::max(0, width), std::max(0, height), QImage::Format_RGB32);
    clear(fill);
}

void Surface::clear(Colour colour) {
    if (!image_.isNull()) image_.fill(toPixel(resolved(colour)));
}

Colour Surface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return Invalid;
    return fromPixel(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

void Surface::setPixel(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = toPixel(resolved(colour));
}

long long Surface::floodFillSurface(int x, int y, Colour surface, Colour fill) {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return 0;
    const QRgb from = toPixel(surface), to = toPixel(resolved(fill));
    const int w = width(), h = height();
    auto row = [&](int yy) { return reinterpret_cast<QRgb*>(image_.scanLine(yy)); };
    if ((row(y)[x] & 0xFFFFFF) != (from & 0xFFFFFF) || (from & 0xFFFFFF) == (to & 0xFFFFFF))
        return 0;
    // Scanline fill: each stacked seed is filled as a whole span, then the rows above and
    // below are searched for the spans that touch it.
    long long changed = 0;
    std::vector<std::pair<int, int>> seeds{{x, y}};
    while (!seeds.empty()) {
        auto [sx, sy] = seeds.back();
        seeds.pop_back();
        QRgb* line = row(sy);
        if ((line[sx] & 0xFFFFFF) != (from & 0xFFFFFF)) continue;
        int left = sx, right = sx;
        while (left > 0 && (line[left - 1] & 0xFFFFFF) == (from & 0xFFFFFF)) --left;
        while (right + 1 < w && (line[right + 1] & 0xFFFFFF) == (from & 0xFFFFFF)) ++right;
        for (int i = left; i <= right; ++i) line[i] = to;
        changed += right - left + 1;
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h) continue;
            const QRgb* next = row(ny);
            int i = left;
            while (i <= right) {
                while (i <= right && (next[i] & 0xFFFFFF) != (from & 0xFFFFFF)) ++i;
                if (i > right) break;
                seeds.emplace_back(i, ny);
                while (i <= right && (next[i] & 0xFFFFFF) == (from & 0xFFFFFF)) ++i;
            }
        }
    }
    return changed;
}

}  // namespace rc

namespace rc {

// First, plain version: every pixel of the disc is classified by its angle; a pixel whose
// right or lower neighbour lies in another sector, or that touches the outside, is outline.
void Surface::drawSectorWheel(double cx, double cy, double radius, double n, double k,
                              Colour filled, Colour empty, Colour outline) {
    if (!(radius > 0) || !(n >= 1) || image_.isNull()) return;
    const double step = 6.28318 / n;
    const int x0 = std::max(0, int(std::floor(cx - radius)));
    const int x1 = std::min(width() - 1, int(std::ceil(cx + radius)));
    const int y0 = std::max(0, int(std::floor(cy - radius)));
    const int y1 = std::min(height() - 1, int(std::ceil(cy + radius)));
    auto inside = [&](int x, int y) {
        const double dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy <= radius * radius;
    };
    auto sector = [&](int x, int y) {
        double angle = std::atan2(-(y - cy), x - cx);
        if (angle < 0) angle += 2 * M_PI;
        double index = std::floor(angle / step);
        return std::min(index, n - 1);
    };
    const QRgb f = toPixel(resolved(filled)), e = toPixel(resolved(empty)),
               o = toPixel(resolved(outline));
    for (int y = y0; y <= y1; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = x0; x <= x1; ++x) {
            if (!inside(x, y)) continue;
            const bool rim =
                !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            const double s = sector(x, y);
            const bool boundary = rim || (x == int(std::lround(cx)) && y == int(std::lround(cy))) ||
                                  sector(x + 1, y) != s || sector(x, y + 1) != s;
            line[x] = boundary ? o : (s + 1 <= k ? f : e);
        }
    }
}

}  // namespace rc
