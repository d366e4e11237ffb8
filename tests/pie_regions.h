#pragma once

// The blue and white regions of a fraction picture as a pupil's clicks meet them: each region is
// what one flood fill started inside it changes, found with the surface's own flood fill.

#include <algorithm>
#include <vector>

#include "controls/surface.h"
#include "pictures/pie_renderer.h"

namespace rc::testing {

constexpr Colour Blue = PieRenderer::Blue;
constexpr Colour White = PieRenderer::White;
constexpr Colour Background = PieRenderer::Background;

struct Region {
    Colour colour = 0;
    long long size = 0;
    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    double sumX = 0, sumY = 0;
    double centreX() const { return sumX / double(size); }
    double centreY() const { return sumY / double(size); }
};

struct Regions {
    std::vector<Region> all;
    std::vector<int> label;  // per pixel, row by row: the region, or -1 (outline, background)
    int width = 0;

    int at(int x, int y) const {
        return label[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
    int count(Colour colour) const {
        return int(std::count_if(all.begin(), all.end(),
                                 [colour](const Region& r) { return r.colour == colour; }));
    }
};

// All pixels of a surface as colours, row by row.
inline std::vector<Colour> pixelsOf(const Surface& surface) {
    const QImage& image = surface.image();
    std::vector<Colour> all;
    all.reserve(std::size_t(image.width()) * std::size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            all.push_back(RGB(qRed(line[x]), qGreen(line[x]), qBlue(line[x])));
    }
    return all;
}

inline Regions sectorRegions(const Surface& surface) {
    Surface work = surface;
    const int w = surface.width(), h = surface.height();
    const std::vector<Colour> before = pixelsOf(surface);
    Regions result;
    result.width = w;
    // Each region is flooded with a colour of its own, which no drawing uses (blue 100 and up).
    auto marker = [](std::size_t id) {
        return RGB(int(id & 0xFF), int((id >> 8) & 0xFF), 100 + int(id >> 16));
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Colour c = before[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            if (c != Blue && c != White) continue;
            if (work.pixel(x, y) != c) continue;  // filled already
            Region region;
            region.colour = c;
            region.size = work.floodFillSurface(x, y, c, marker(result.all.size()));
            region.minX = region.maxX = x;
            region.minY = region.maxY = y;
            result.all.push_back(region);
        }
    }
    result.label.assign(std::size_t(w) * std::size_t(h), -1);
    std::vector<long long> seen(result.all.size(), 0);
    const std::vector<Colour> after = pixelsOf(work);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
            const Colour c = after[i];
            const int b = int((c >> 16) & 0xFF);
            if (b < 100 || b > 250 || before[i] == c) continue;
            const std::size_t id = (c & 0xFF) | ((c >> 8) & 0xFF) << 8 | std::size_t(b - 100) << 16;
            if (id >= result.all.size()) continue;
            Region& r = result.all[id];
            r.minX = std::min(r.minX, x), r.maxX = std::max(r.maxX, x);
            r.minY = std::min(r.minY, y), r.maxY = std::max(r.maxY, y);
            r.sumX += x, r.sumY += y;
            ++seen[id];
            result.label[i] = int(id);
        }
    }
    // What each fill reported changing is exactly the pixels that carry its colour afterwards.
    for (std::size_t i = 0; i < seen.size(); ++i)
        if (seen[i] != result.all[i].size) result.all[i].size = -1;
    return result;
}

}  // namespace rc::testing
