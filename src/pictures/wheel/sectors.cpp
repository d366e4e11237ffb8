// The sectors of a row: cut where the radius lines cross it, or pixel by pixel where they
// cross it at nearly every pixel.
#include "pictures/wheel/sectors.h"

#include <cstdlib>

#include "pictures/wheel/fills.h"

namespace rc::wheel {

namespace {

// The angle of (x, y) seen from the centre, y pointing up: 0 at 3 o'clock, counter-clockwise,
// in [0, 2 pi]. The arctangent is a polynomial good to 2e-6 rad, written without branches so
// that the compiler runs it on several pixels at once.
inline float angleOf(float x, float y) {
    const float ax = std::fabs(x), ay = std::fabs(y);
    const float big = std::max(ax, ay), small = std::min(ax, ay);
    const float q = small / std::max(big, 1e-30f);
    const float s = q * q;
    float t =
        q * (0.99997726f +
             s * (-0.33262347f +
                  s * (0.19354346f + s * (-0.11643287f + s * (0.05265332f + s * -0.01172120f)))));
    // Octant, then quadrant: t or c - t, chosen by 0/1 factors that stay in vector registers.
    const float swap = ay > ax ? 1.0f : 0.0f, left = x < 0 ? 1.0f : 0.0f, low = y < 0 ? 1.0f : 0.0f;
    t = swap * 1.57079633f + (1.0f - 2.0f * swap) * t;
    t = left * 3.14159265f + (1.0f - 2.0f * left) * t;
    t = low * 6.28318531f + (1.0f - 2.0f * low) * t;
    return t;
}

// The sectors of `count` pixels of one row, from x - cx = x0 on, pixel by pixel: the angle
// times n / 6.28318, cut down to the last sector.
RC_VECTOR_CLONES
void denseSectors(std::int32_t* out, int count, float x0, float y, float scale, float last) {
    for (int i = 0; i < count; ++i)
        out[i] = std::int32_t(std::min(angleOf(x0 + float(i), y) * scale, last));
}

}  // namespace

bool Sectors::row(std::int32_t* keys, std::vector<KeyRun>& runs, int lo, int hi, int y) const {
    const double dy = cy_ - double(y);  // upwards
    if (dy == 0) {
        // The row through the centre: 9 o'clock to the left, 3 o'clock from the centre on.
        const int split = clampTo(cx_.ceilAt(0), lo, hi + 1);
        const std::int32_t left = nine_;
        if (left == 0) {
            runs.push_back({lo, hi, 0});  // one sector all round
        } else {
            if (lo < split) runs.push_back({lo, split - 1, left});
            if (split <= hi) runs.push_back({split, hi, 0});
        }
        return true;
    }
    std::int32_t key = sectorAt(cx_.offset(lo), dy);
    // Where the lines cross the row about as often as there are pixels, each pixel's
    // sector is worked out on its own, several at a time.
    const std::int32_t final = sectorAt(cx_.offset(hi), dy);
    const bool onSix = dy < 0 && cx_.fraction == 0 && cx_.whole >= lo && cx_.whole <= hi;
    if (std::llabs(std::int64_t(final) - key) * 4 >= std::int64_t(hi) - lo + 1) {
        denseSectors(keys + lo, hi - lo + 1, float(cx_.offset(lo)), float(dy), scale_,
                     float(last_));
        if (onSix) keys[int(cx_.whole)] = six_;
        return false;
    }
    const std::size_t first = runs.size();
    int x = lo;
    while (x <= hi) {
        int end = hi;
        if (dy > 0 && key >= 1) {
            // Sector `key` goes on while the angle is at least key * step.
            end = clampTo(cx_.floorAt(dy * cot(key)), x - 1, hi);
        } else if (dy < 0 && key < last_) {
            // ... or, below the centre, while it is under (key + 1) * step.
            end = clampTo(cx_.ceilAt(dy * cot(std::int64_t(key) + 1)) - 1, x - 1, hi);
        }
        if (end >= x) runs.push_back({x, end, key});
        x = end + 1;
        if (x <= hi) key += dy > 0 ? -1 : 1;
    }
    if (onSix) setSector(runs, first, int(cx_.whole), six_);
    return true;
}

void Sectors::setSector(std::vector<KeyRun>& runs, std::size_t first, int x, std::int32_t key) {
    std::vector<KeyRun> row(runs.begin() + std::ptrdiff_t(first), runs.end());
    runs.resize(first);
    for (const KeyRun& r : row) {
        const KeyRun parts[] = {{r.x0, std::min(r.x1, x - 1), r.key},
                                {std::max(r.x0, x), std::min(r.x1, x), key},
                                {std::max(r.x0, x + 1), r.x1, r.key}};
        for (const KeyRun& part : parts) {
            if (part.x0 > part.x1) continue;
            if (runs.size() > first && runs.back().key == part.key && runs.back().x1 + 1 == part.x0)
                runs.back().x1 = part.x1;
            else
                runs.push_back(part);
        }
    }
}

}  // namespace rc::wheel
