// Runs of pixels in one colour, and the loops run with wider vector registers.
#pragma once

#include <QRgb>
#include <cstring>

// Runs the loops marked with it with wider vector registers where the processor has them; the
// results are the same bit for bit (no fused multiply-add), only faster. Not in sanitizer
// builds, whose checks cannot run in the resolvers that choose the loops at start-up.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define RC_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define RC_VECTOR_CLONES
#endif

namespace rc::wheel {

// Pixels lo..hi (at least one) of a row in one colour, with a few stores that may overlap.
[[gnu::always_inline]] inline void paintRun(QRgb* line, int lo, int hi, QRgb colour) {
    using Four = QRgb __attribute__((vector_size(16)));
    using Eight = QRgb __attribute__((vector_size(32)));
    const int length = hi - lo + 1;
    if (length <= 2) {
        line[lo] = colour, line[hi] = colour;
    } else if (length <= 4) {
        line[lo] = colour, line[lo + 1] = colour, line[hi - 1] = colour, line[hi] = colour;
    } else if (length <= 8) {
        const Four four = Four{} + colour;
        std::memcpy(line + lo, &four, sizeof four);
        std::memcpy(line + hi - 3, &four, sizeof four);
    } else {
        const Eight eight = Eight{} + colour;
        int x = lo;
        for (; x < hi - 31; x += 32) {
            std::memcpy(line + x, &eight, sizeof eight);
            std::memcpy(line + x + 8, &eight, sizeof eight);
            std::memcpy(line + x + 16, &eight, sizeof eight);
            std::memcpy(line + x + 24, &eight, sizeof eight);
        }
        for (; x < hi - 7; x += 8) std::memcpy(line + x, &eight, sizeof eight);
        std::memcpy(line + hi - 7, &eight, sizeof eight);
    }
}

}  // namespace rc::wheel
