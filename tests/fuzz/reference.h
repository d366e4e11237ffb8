// Readings of the number rules for the fuzz targets, written apart from the program's own: a
// wide whole number as text, a double taken apart into its exact parts, the caption rule's
// prefix, and the fuzz input read as numbers. A property that fails prints what it saw and
// aborts, so that libFuzzer keeps the input.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzref {

__extension__ using Wide = __int128;
__extension__ using UWide = unsigned __int128;

[[noreturn]] inline void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "\n*** property failed: %s\n%s\n", what, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_REQUIRE(condition, detail)                                     \
    do {                                                                    \
        if (!(condition)) ::fuzzref::fail(#condition, std::string(detail)); \
    } while (0)

// ---------------------------------------------------------------------------------------------
// Whole numbers past 64 bits: their decimal text, and products too wide for 128 bits compared.

inline std::string textOf(Wide value) {
    UWide magnitude = value < 0 ? UWide(0) - UWide(value) : UWide(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude);
    return (value < 0 ? "-" : "") + digits;
}

// The sign of a·b - c·d, for |a|, |c| below 2^63 and |b|, |d| below 2^126: each product as
// hi·2^64 + lo with 0 <= lo < 2^64, compared part by part.
inline int compareProducts(std::int64_t a, Wide b, std::int64_t c, Wide d) {
    const auto parts = [](std::int64_t x, Wide y) {
        const Wide low = Wide(x) * Wide(std::uint64_t(y));
        return std::pair{Wide(x) * (y >> 64) + (low >> 64), std::uint64_t(low)};
    };
    const auto p = parts(a, b), q = parts(c, d);
    return p < q ? -1 : (q < p ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------
// A double taken apart: ±mantissa·2^exponent exactly, from its bits.

struct Parts {
    bool finite = true;
    bool negative = false;
    std::uint64_t mantissa = 0;
    int exponent = 0;
};

inline Parts partsOf(double x) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    Parts p;
    p.negative = bits >> 63;
    const int biased = int((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
    p.finite = biased != 0x7ff;
    p.mantissa = biased == 0 ? fraction : fraction | (std::uint64_t(1) << 52);
    p.exponent = (biased == 0 ? 1 : biased) - 1075;
    return p;
}

inline bool isWhole(const Parts& p) {
    if (!p.finite) return false;
    if (p.exponent >= 0 || p.mantissa == 0) return true;
    const int shift = -p.exponent;
    return shift < 64 && (p.mantissa & ((std::uint64_t(1) << shift) - 1)) == 0;
}

// Whole and below 2^53 in size: the numbers the judges compare.
inline std::optional<std::int64_t> heldValue(double x) {
    const Parts p = partsOf(x);
    if (!isWhole(p)) return {};
    if (p.mantissa == 0) return 0;
    std::uint64_t magnitude;
    if (p.exponent >= 0) {
        const int width = 64 - __builtin_clzll(p.mantissa);
        if (width + p.exponent > 53) return {};
        magnitude = p.mantissa << p.exponent;
    } else {
        magnitude = p.mantissa >> -p.exponent;
        if (magnitude >= (std::uint64_t(1) << 53)) return {};
    }
    return p.negative ? -std::int64_t(magnitude) : std::int64_t(magnitude);
}

// Rounded to a whole number, ties to the even one, from the bits.
inline double roundedHalfEven(double x) {
    const Parts p = partsOf(x);
    if (!p.finite || p.exponent >= 0) return x;
    const int shift = -p.exponent;
    if (shift > 53) return p.negative ? -0.0 : 0.0;  // below one half
    std::uint64_t whole = p.mantissa >> shift;
    const std::uint64_t rest = p.mantissa & ((std::uint64_t(1) << shift) - 1);
    const std::uint64_t half = std::uint64_t(1) << (shift - 1);
    if (rest > half || (rest == half && (whole & 1))) ++whole;
    return p.negative ? -double(whole) : double(whole);
}

// Whether the whole double x (finite) is a multiple of the small number p.
inline bool divides(std::uint32_t p, double x) {
    const Parts parts = partsOf(x);
    if (parts.exponent <= -64) return true;  // whole: zero
    if (parts.exponent < 0) return (parts.mantissa >> -parts.exponent) % p == 0;
    std::uint64_t rest = parts.mantissa % p;
    for (int i = 0; i < parts.exponent; ++i) rest = rest * 2 % p;
    return rest == 0;
}

// ---------------------------------------------------------------------------------------------
// The caption rule: leading blanks (space, tab, line feed, carriage return) skipped, then an
// optional sign, digits, an optional point and digits, at least one digit among them, then an
// exponent E/e/D/d with an optional sign, taken only when a digit follows. Only the ASCII
// digits count. Beyond the double range the largest finite value; never a negative zero.

struct Reading {
    std::string prefix;  // what strtod is given, "" when the text has no number
    double value = 0;
};

inline Reading readCaption(std::u16string_view s) {
    auto isDigit = [&](std::size_t k) { return k < s.size() && s[k] >= u'0' && s[k] <= u'9'; };
    auto is = [&](std::size_t k, std::u16string_view set) {
        return k < s.size() && set.find(s[k]) != std::u16string_view::npos;
    };
    std::size_t start = 0;
    while (is(start, u" \t\n\r")) ++start;
    std::size_t end = start;
    if (is(end, u"+-")) ++end;
    std::size_t digits = 0;
    for (; isDigit(end); ++end) ++digits;
    if (is(end, u".")) {
        ++end;
        for (; isDigit(end); ++end) ++digits;
    }
    Reading r;
    if (digits == 0) return r;
    if (is(end, u"EeDd")) {
        std::size_t k = end + 1;
        if (is(k, u"+-")) ++k;
        if (isDigit(k)) {
            while (isDigit(k)) ++k;
            end = k;
        }
    }
    for (std::size_t k = start; k < end; ++k)
        r.prefix += (s[k] == u'D' || s[k] == u'd') ? 'e' : char(s[k]);
    r.value = std::strtod(r.prefix.c_str(), nullptr);
    if (std::isinf(r.value)) r.value = r.value < 0 ? -DBL_MAX : DBL_MAX;
    if (r.value == 0) r.value = 0;
    return r;
}

inline std::string describe(double x) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g (%a)", x, x);
    return buffer;
}

// ---------------------------------------------------------------------------------------------
// The fuzz input read front to back; once it is used up every read gives zeros.

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte() {
        if (size_ == 0) return 0;
        --size_;
        return *data_++;
    }
    template <class T>
    T raw() {
        T value{};
        const std::size_t n = std::min(sizeof value, size_);
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    std::string_view rest() const { return {reinterpret_cast<const char*>(data_), size_}; }

    // A whole number as the pad may write it: small, 32-bit, 64-bit, or next to 2^31, 2^53 or
    // 2^63, on either side of zero.
    Wide whole() { return whole(byte()); }
    // A number the judges may meet: one of those (rounded to a double), or any double.
    double number() {
        const std::uint8_t kind = byte() % 6;
        return kind == 5 ? raw<double>() : double(whole(kind));
    }
    // An answer: a number as above, or the expected value (rounded to a double) give or take
    // a little.
    double answer(Wide expected) {
        const std::uint8_t tag = byte();
        if (tag < 128) return number();
        return double(expected) + raw<std::int8_t>() % 3;
    }

  private:
    Wide whole(std::uint8_t kind) {
        constexpr int edges[] = {31, 53, 63};
        switch (kind % 5) {
            case 0:
                return raw<std::int8_t>();
            case 1:
                return raw<std::int32_t>();
            case 2:
                return raw<std::int64_t>();
            default: {
                const Wide edge = (Wide(1) << edges[byte() % 3]) + raw<std::int8_t>();
                return byte() & 1 ? -edge : edge;
            }
        }
    }

    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace fuzzref
