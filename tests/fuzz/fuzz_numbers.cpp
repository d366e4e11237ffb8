// The caption-to-number rule and back. The first byte chooses what the rest is: text in UTF-8,
// text as UTF-16 code units (lone surrogates and all), or the eight bytes of a double.
#include <QString>
#include <bit>
#include <cctype>
#include <limits>

#include "controls/numbers.h"
#include "reference.h"

using namespace fuzzref;

namespace {

std::string shown(const QString& text) {
    return "text: \"" + text.toStdString() + "\" (" + std::to_string(text.size()) + " units)";
}

void checkVal(const QString& text) {
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    std::size_t(text.size()));
    const Reading expected = readCaption(units);
    const double value = rc::Val(text);
    FUZZ_REQUIRE(
        std::bit_cast<std::uint64_t>(value) == std::bit_cast<std::uint64_t>(expected.value),
        shown(text) + "\nprefix: \"" + expected.prefix + "\"\nVal: " + describe(value) +
            "\nexpected: " + describe(expected.value));
    // A plain whole number of up to fifteen digits, summed digit by digit, needs no strtod.
    const std::string& p = expected.prefix;
    const std::size_t digitsFrom = (!p.empty() && (p[0] == '-' || p[0] == '+')) ? 1 : 0;
    const std::string_view digits = std::string_view(p).substr(digitsFrom);
    if (!digits.empty() && digits.size() <= 15 &&
        digits.find_first_not_of("0123456789") == std::string_view::npos) {
        std::int64_t whole = 0;
        for (char c : digits) whole = whole * 10 + (c - '0');
        const double plain = p[0] == '-' ? -double(whole) : double(whole);
        FUZZ_REQUIRE(value == plain, shown(text) + "\nVal: " + describe(value));
    }
}

// Plain number text: "-" for negatives, then a whole part without leading zeros, then an
// optional point with digits not ending in 0, then an optional exponent E+n or E-n after a
// single nonzero digit.
bool plainNumber(const std::string& t) {
    std::size_t i = t.size() && t[0] == '-' ? 1 : 0;
    const std::size_t whole = i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
    const std::size_t wholeDigits = i - whole;
    if (wholeDigits == 0 || (wholeDigits > 1 && t[whole] == '0')) return false;
    if (i < t.size() && t[i] == '.') {
        const std::size_t from = ++i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
        if (i == from || t[i - 1] == '0') return false;
    }
    if (i < t.size() && t[i] == 'E') {
        if (wholeDigits != 1 || t[whole] == '0') return false;
        if (++i == t.size() || (t[i] != '+' && t[i] != '-')) return false;
        const std::size_t from = ++i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
        if (i == from || (i - from > 1 && t[from] == '0')) return false;
    }
    return i == t.size() && t != "-0";
}

std::size_t significantDigits(const std::string& t) {
    const std::string mantissa = t.substr(0, t.find('E'));
    std::string digits;
    for (char c : mantissa)
        if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? 0 : digits.size() - first;
}

void checkStr(double x) {
    const std::string text = rc::Str(x).toStdString();
    const std::string seen = "x: " + describe(x) + "\nStr: \"" + text + "\"";
    FUZZ_REQUIRE(plainNumber(text), seen);
    const double back = rc::Val(QString::fromStdString(text));
    FUZZ_REQUIRE(back == readCaption(QString::fromStdString(text).toStdU16String()).value, seen);
    if (std::isnan(x)) return;  // no number: any plain text will do
    FUZZ_REQUIRE((text[0] == '-') == (x < 0), seen);
    if (x > 0) FUZZ_REQUIRE("-" + text == rc::Str(-x).toStdString(), seen);
    if (const auto held = heldValue(x)) {
        FUZZ_REQUIRE(text == textOf(*held), seen);
        FUZZ_REQUIRE(back == x, seen + "\nVal back: " + describe(back));
        return;
    }
    FUZZ_REQUIRE(significantDigits(text) <= 15, seen);
    if (isWhole(partsOf(x)) || std::isinf(x))
        FUZZ_REQUIRE(text.find('E') != std::string::npos, seen);
    const double target = std::isinf(x) ? std::copysign(DBL_MAX, x) : x;
    // Fifteen significant digits: within half a unit of the fifteenth (5e-15 of the value at
    // most), plus Val's own rounding (half a unit in the last place, 2^-53 of the value).
    const double tolerance =
        std::fabs(target) * (5e-15 + 0x1p-52) + std::numeric_limits<double>::denorm_min();
    FUZZ_REQUIRE(std::fabs(back - target) <= tolerance, seen + "\nVal back: " + describe(back));
    // Fifteen digits survive a double: written again, the same text, unless it came back as a
    // whole number below 2^53, which is written in full.
    if (!heldValue(back)) FUZZ_REQUIRE(rc::Str(back).toStdString() == text, seen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size);
    switch (std::uint8_t(input.byte() - '0') % 3) {
        case 0: {
            const std::string_view bytes = input.rest();
            checkVal(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
            break;
        }
        case 1: {
            std::u16string units(input.rest().size() / 2, u'\0');
            std::memcpy(units.data(), input.rest().data(), units.size() * 2);
            checkVal(QString::fromStdU16String(units));
            break;
        }
        default:
            checkStr(input.raw<double>());
    }
    return 0;
}
