#include "controls/surface.h"

#include <algorithm>
#include <bit>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rc {

namespace {
inline QRgb toPixel(Colour c) {
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
inline Colour fromPixel(QRgb p) {
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// The first i from `i` on, before `end`, whose pixel has the colour `rgb` (same) or has another
// colour (not same); `end` when there is none. Eight pixels are compared at a time.
int findColour(const QRgb* line, int i, int end, QRgb rgb, bool same) {
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(0xFFFFFF), wanted = _mm_set1_epi32(int(rgb));
    const unsigned flip = same ? 0u : 0xFFFFu;
    for (; i + 8 <= end; i += 8) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + i + 4));
        const __m128i equal = _mm_packs_epi32(_mm_cmpeq_epi32(_mm_and_si128(low, mask), wanted),
                                              _mm_cmpeq_epi32(_mm_and_si128(high, mask), wanted));
        const unsigned found = unsigned(_mm_movemask_epi8(equal)) ^ flip;  // 2 bits a pixel
        if (found) return i + std::countr_zero(found) / 2;
    }
#endif
    while (i < end && ((line[i] & 0xFFFFFFu) == rgb) != same) ++i;
    return i;
}
}  // namespace

QRgb Surface::pixelOf(Colour colour) {
    return toPixel(resolved(colour));
}

void Surface::resize(int width, int height, Colour fill) {
    image_ = QImage(std::max(0, width), std::max(0, height), QImage::Format_RGB32);
    clear(fill);
}

void Surface::clear(Colour colour) {
    ++generation_;
    if (!image_.isNull()) image_.fill(pixelOf(colour));
}

Colour Surface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return Invalid;
    return fromPixel(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

void Surface::setPixel(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return;
    ++generation_;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = pixelOf(colour);
}

long long Surface::floodFillSurface(int x, int y, Colour surface, Colour fill) {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return 0;
    const QRgb from = toPixel(surface) & 0xFFFFFF, to = pixelOf(fill);
    if ((to & 0xFFFFFF) == from) return 0;
    const int w = width(), h = height();
    const Rows row = rows();
    if ((row[y][x] & 0xFFFFFF) != from) return 0;
    // Scanline fill: each stacked seed is filled as a whole span, then the rows above and
    // below are searched for the spans that touch it.
    long long changed = 0;
    std::vector<std::pair<int, int>> seeds{{x, y}};
    while (!seeds.empty()) {
        auto [sx, sy] = seeds.back();
        seeds.pop_back();
        QRgb* line = row[sy];
        if ((line[sx] & 0xFFFFFF) != from) continue;
        int left = sx;
        while (left > 0 && (line[left - 1] & 0xFFFFFF) == from) --left;
        const int right = findColour(line, sx, w, from, false) - 1;
        std::fill(line + left, line + right + 1, to);
        changed += right - left + 1;
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h) continue;
            const QRgb* next = row[ny];
            for (int i = findColour(next, left, right + 1, from, true); i <= right;
                 i = findColour(next, i, right + 1, from, true)) {
                seeds.emplace_back(i, ny);
                i = findColour(next, i, right + 1, from, false);
            }
        }
    }
    return changed;
}

bool Surface::copyArea(int x, int y, int w, int h, int toX, int toY) {
    const QRect from(x, y, w, h), to(toX, toY, w, h), all(0, 0, width(), height());
    if (w <= 0 || h <= 0 || !all.contains(from) || !all.contains(to) || from.intersects(to))
        return false;
    ++generation_;
    for (int row = 0; row < h; ++row) {
        const QRgb* source = reinterpret_cast<const QRgb*>(image_.constScanLine(y + row)) + x;
        std::copy(source, source + w, reinterpret_cast<QRgb*>(image_.scanLine(toY + row)) + toX);
    }
    return true;
}

}  // namespace rc
