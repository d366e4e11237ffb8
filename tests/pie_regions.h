#pragma once

// A fraction picture as the lesson draws it: where its circles stand, and the blue and white
// regions a pupil's clicks meet, each region what one flood fill started inside it changes,
// found with the surface's own flood fill.

#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/surface.h"

namespace rc::testing {

// The colours of the pictures: sectors blue or white, near-white round the circles, the lines
// in the desktop's text colour.
constexpr Colour Blue = RGB(0, 0, 255);
constexpr Colour White = RGB(255, 255, 255);
constexpr Colour Background = RGB(250, 250, 250);
constexpr Colour Outline = RGB(0, 0, 0);

struct Region {
    Colour colour = 0;
    long long size = 0;  // pixels
};

struct Regions {
    std::vector<Region> all;
    std::vector<int> label;  // per pixel, row by row: the region, or -1 (outline, background)
    int count(Colour colour) const {
        return int(std::count_if(all.begin(), all.end(),
                                 [colour](const Region& r) { return r.colour == colour; }));
    }
};

// A circle a fraction picture shows: centre, radius and the number of blue sectors.
struct Wheel {
    double cx, cy, r, blue;
};

// The circles of k/n on a W x H picture: one in the middle up to k = n, else a row of cells.
inline std::vector<Wheel> wheelsOf(int W, int H, double n, double k) {
    if (!(n > 0 && k >= 0)) return {};
    if (k <= n) return {{W / 2.0, H / 2.0, H / 2.0 - 6, k}};
    const double whole = std::floor(k / n), cells = whole + (std::fmod(k, n) != 0 ? 1 : 0);
    const double cell = std::floor(W / cells);
    const double r = std::min(std::floor(cell / 2), H / 2.0 - 6) - 2;
    std::vector<Wheel> wheels;
    for (int i = 0; r > 0 && i < cells; ++i)
        wheels.push_back(
            {std::floor(cell / 2) + i * cell, H / 2.0, r, i < whole ? n : k - n * whole});
    return wheels;
}

// All pixels of a surface as colours, row by row.
inline std::vector<Colour> pixelsOf(const Surface& surface) {
    const QImage& image = surface.image();
    const int w = image.width(), h = image.height();
    std::vector<Colour> all(std::size_t(w) * std::size_t(h));
    Colour* out = all.data();  // written plainly: the sanitizer build runs this unoptimised
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)  // 0xAARRGGBB to red + 256 green + 65536 blue
            *out++ = ((line[x] >> 16) & 0xFF) | (line[x] & 0xFF00) | ((line[x] & 0xFF) << 16);
    }
    return all;
}

inline Regions sectorRegions(const Surface& surface) {
    Surface work = surface;
    const std::vector<Colour> before = pixelsOf(surface);
    Regions result{{}, std::vector<int>(before.size(), -1)};
    // Each region is flooded with a colour of its own, which no drawing uses (blue 100 and up).
    for (int y = 0, i = 0, w = surface.width(); y < surface.height(); ++y) {
        for (int x = 0; x < w; ++x, ++i) {
            const Colour c = before[std::size_t(i)], id = Colour(result.all.size());
            if ((c == Blue || c == White) && work.pixel(x, y) == c) {  // not filled already
                work.floodFillSurface(x, y, c, RGB(id, id >> 8, 100 + (id >> 16)));
                result.all.push_back({c, 0});
            }
        }
    }
    const std::vector<Colour> after = pixelsOf(work);
    for (std::size_t i = 0; i < after.size(); ++i) {
        const Colour c = after[i], b = (c >> 16) & 0xFF;
        if (b < 100 || b > 250 || before[i] == c) continue;
        const std::size_t id = (c & 0xFFFF) | (std::size_t(b - 100) << 16);
        if (id < result.all.size()) ++result.all[id].size, result.label[i] = int(id);
    }
    return result;
}

}  // namespace rc::testing
