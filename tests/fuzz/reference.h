// Readings of the number rules for the fuzz targets, written apart from the program's own: a
// signed whole number of any size, a double taken apart into its exact parts, the caption rule's
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
// A signed whole number of any size: sign and magnitude, limbs of nine decimal digits, least
// significant first, no zero limb on top (zero has none and no sign).

class Big {
  public:
    Big() = default;
    static Big of(Wide value) {
        Big b;
        b.negative_ = value < 0;
        UWide magnitude = value < 0 ? UWide(0) - UWide(value) : UWide(value);
        while (magnitude) {
            b.limbs_.push_back(std::uint32_t(magnitude % Base));
            magnitude /= Base;
        }
        return b;
    }
    // "-123" or "123" (any number of digits); nothing else.
    static std::optional<Big> parse(std::string_view text) {
        Big b;
        bool negative = !text.empty() && text.front() == '-';
        if (negative) text.remove_prefix(1);
        if (text.empty()) return {};
        for (char c : text)
            if (c < '0' || c > '9') return {};
        for (std::size_t end = text.size(); end > 0;) {
            const std::size_t start = end >= 9 ? end - 9 : 0;
            b.limbs_.push_back(
                std::uint32_t(std::stoul(std::string(text.substr(start, end - start)))));
            end = start;
        }
        b.trim();
        b.negative_ = negative && !b.limbs_.empty();
        return b;
    }

    bool isZero() const { return limbs_.empty(); }
    bool negative() const { return negative_; }

    friend Big operator+(const Big& a, const Big& b) {
        Big r;
        if (a.negative_ == b.negative_) {
            r.limbs_ = addMagnitudes(a.limbs_, b.limbs_);
            r.negative_ = a.negative_;
        } else if (compareMagnitudes(a.limbs_, b.limbs_) >= 0) {
            r.limbs_ = subtractMagnitudes(a.limbs_, b.limbs_);
            r.negative_ = a.negative_;
        } else {
            r.limbs_ = subtractMagnitudes(b.limbs_, a.limbs_);
            r.negative_ = b.negative_;
        }
        r.trim();
        if (r.limbs_.empty()) r.negative_ = false;
        return r;
    }
    friend Big operator-(const Big& a, const Big& b) { return a + b.negated(); }
    friend Big operator*(const Big& a, const Big& b) {
        Big r;
        if (a.isZero() || b.isZero()) return r;
        r.limbs_.assign(a.limbs_.size() + b.limbs_.size(), 0);
        for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
            std::uint64_t carry = 0;
            for (std::size_t j = 0; j < b.limbs_.size() || carry; ++j) {
                std::uint64_t cell = r.limbs_[i + j] + carry;
                if (j < b.limbs_.size()) cell += std::uint64_t(a.limbs_[i]) * b.limbs_[j];
                r.limbs_[i + j] = std::uint32_t(cell % Base);
                carry = cell / Base;
            }
        }
        r.trim();
        r.negative_ = a.negative_ != b.negative_;
        return r;
    }
    Big negated() const {
        Big r = *this;
        r.negative_ = !r.negative_ && !r.limbs_.empty();
        return r;
    }
    friend int compare(const Big& a, const Big& b) {
        if (a.negative_ != b.negative_) return a.negative_ ? -1 : 1;
        const int m = compareMagnitudes(a.limbs_, b.limbs_);
        return a.negative_ ? -m : m;
    }
    friend bool operator==(const Big& a, const Big& b) { return compare(a, b) == 0; }
    friend bool operator<(const Big& a, const Big& b) { return compare(a, b) < 0; }
    friend bool operator>(const Big& a, const Big& b) { return compare(a, b) > 0; }

    // The value when it fits in 64 bits.
    std::optional<std::int64_t> small() const {
        if (limbs_.size() > 3) return {};
        UWide magnitude = 0;
        for (auto it = limbs_.rbegin(); it != limbs_.rend(); ++it)
            magnitude = magnitude * Base + *it;
        if (magnitude > UWide(INT64_MAX)) return {};
        return negative_ ? -std::int64_t(magnitude) : std::int64_t(magnitude);
    }

    std::string text() const {
        if (limbs_.empty()) return "0";
        std::string s = negative_ ? "-" : "";
        s += std::to_string(limbs_.back());
        for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
            const std::string part = std::to_string(limbs_[i]);
            s += std::string(9 - part.size(), '0') + part;
        }
        return s;
    }

  private:
    static constexpr std::uint32_t Base = 1000000000;
    using Limbs = std::vector<std::uint32_t>;

    void trim() {
        while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
    }
    static int compareMagnitudes(const Limbs& a, const Limbs& b) {
        if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
        for (std::size_t i = a.size(); i-- > 0;)
            if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
        return 0;
    }
    static Limbs addMagnitudes(const Limbs& a, const Limbs& b) {
        Limbs r(std::max(a.size(), b.size()) + 1, 0);
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < r.size(); ++i) {
            std::uint64_t cell = carry;
            if (i < a.size()) cell += a[i];
            if (i < b.size()) cell += b[i];
            r[i] = std::uint32_t(cell % Base);
            carry = cell / Base;
        }
        return r;
    }
    static Limbs subtractMagnitudes(const Limbs& a, const Limbs& b) {  // a >= b
        Limbs r(a.size(), 0);
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            std::int64_t cell = std::int64_t(a[i]) - borrow - (i < b.size() ? b[i] : 0);
            borrow = cell < 0;
            r[i] = std::uint32_t(cell + (borrow ? Base : 0));
        }
        return r;
    }

    bool negative_ = false;
    Limbs limbs_;
};

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

// The whole value of a finite whole double, any size.
inline Big wholeOf(const Parts& p) {
    if (p.exponent < 0) {
        const std::uint64_t value = p.exponent > -64 ? p.mantissa >> -p.exponent : 0;
        return Big::of(p.negative ? -Wide(value) : Wide(value));
    }
    Big value = Big::of(Wide(p.mantissa));
    const Big two = Big::of(2);
    for (int i = 0; i < p.exponent; ++i) value = value * two;
    return p.negative ? value.negated() : value;
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
