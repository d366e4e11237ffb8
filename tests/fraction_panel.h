#pragma once

#include <algorithm>
#include <vector>

#include "controls/surface.h"
#include "testkit.h"

namespace rc::testing {

// The connected (4-neighbour) regions of one colour in a picture, as a pupil counts sectors:
// each blue or white sector of a drawing is one region. Regions under a tenth of the largest
// are not counted, so that slivers cut off thin sectors near a centre do not count as sectors.
inline int countRegions(const Surface& surface, Colour colour) {
    const int w = surface.width(), h = surface.height();
    std::vector<char> seen(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    auto at = [&](int x, int y) -> char& { return seen[static_cast<std::size_t>(y) * w + x]; };
    std::vector<long long> sizes;
    std::vector<std::pair<int, int>> stack;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (at(x, y) || surface.pixel(x, y) != colour) continue;
            long long size = 0;
            at(x, y) = 1;
            stack.assign(1, {x, y});
            while (!stack.empty()) {
                const auto [px, py] = stack.back();
                stack.pop_back();
                ++size;
                const int next[4][2] = {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}};
                for (const auto& [nx, ny] : next) {
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h || at(nx, ny)) continue;
                    if (surface.pixel(nx, ny) != colour) continue;
                    at(nx, ny) = 1;
                    stack.emplace_back(nx, ny);
                }
            }
            sizes.push_back(size);
        }
    }
    const long long largest = sizes.empty() ? 0 : *std::max_element(sizes.begin(), sizes.end());
    return int(std::count_if(sizes.begin(), sizes.end(),
                             [largest](long long size) { return size * 10 >= largest; }));
}

// The fraction panel as the pupil reads it ("3/6") and the sectors of its last drawing.
inline QString panel(App& app) {
    return app.label("Label2(0)").Caption() + "/" + app.label("Label2(1)").Caption();
}
inline int blueSectors(App& app) {
    return countRegions(app.picture("Picture2").surface(), RGB(0, 0, 255));
}
inline int whiteSectors(App& app) {
    return countRegions(app.picture("Picture2").surface(), RGB(255, 255, 255));
}

inline void clickTimes(App& app, const QString& address, int times) {
    for (int i = 0; i < times; ++i) app.click(address);
}

}  // namespace rc::testing
