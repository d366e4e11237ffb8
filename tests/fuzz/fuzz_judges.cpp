// The judges against an exact reading. The first byte chooses the judge: a link of the simplify
// exercise from four captions (the rest of the input, split at "|") or from numbers written as
// the pad writes them, the product, the sum, the sum's second operator, the simplifiability
// test, or `held`.
#include <QString>
#include <array>

#include "practice/judging.h"
#include "reference.h"

using namespace fuzzref;

namespace {

// As the program holds them: the primes up to 29, then zeros.
constexpr std::array<std::uint8_t, 21> Primes = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29};
constexpr std::uint32_t SmallPrimes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29};

const char* const OutcomeNames[] = {"SameTerms", "Unjudged",     "WholeAccepted", "WholeRefused",
                                    "Refused",   "Intermediate", "Final"};

std::string numbers(std::initializer_list<double> values) {
    std::string s;
    for (double v : values) s += describe(v) + "\n";
    return s;
}

// ---------------------------------------------------------------------------------------------
// A number of a link as read exactly: whole (held below 2^53 in size, or larger), or not.

struct Exact {
    bool whole = true;
    std::optional<std::int64_t> held;
    double fraction = 0;  // the value when it is not whole

    static Exact of(double x) {
        if (isWhole(partsOf(x))) return {true, heldValue(x), 0};
        return {false, {}, x};
    }
    // Plain digits with an optional "-", of any length.
    static std::optional<Exact> ofDigits(std::string_view text) {
        const bool negative = !text.empty() && text.front() == '-';
        const std::string_view digits = text.substr(negative ? 1 : 0);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
            return {};
        const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
        if (digits.size() - first > 18) return Exact{};
        const std::int64_t value =
            first == digits.size() ? 0 : std::stoll(std::string(digits.substr(first)));
        if (value >= (std::int64_t(1) << 53)) return Exact{};
        return Exact{true, negative ? -value : value, 0};
    }
    bool is(std::int64_t value) const { return held == value; }
};

bool simplifiable(std::int64_t x, std::int64_t y) {
    if (y == 1) return true;
    if (y == 0) return false;
    for (std::uint32_t p : SmallPrimes)
        if (x % p == 0 && y % p == 0) return true;
    return false;
}

// The link's verdict from its numbers, read exactly (the next denominator already rounded to
// a whole number), and its captions as text.
rc::LinkOutcome linkVerdict(const Exact& prevNum, const Exact& prevDen, const Exact& nextNum,
                            const Exact& nextDen, const rc::Link& link) {
    using rc::LinkOutcome;
    const bool equal =
        prevNum.held ? prevNum.held == prevDen.held
                     : !prevNum.whole && !prevDen.whole && prevNum.fraction == prevDen.fraction;
    if (equal) return LinkOutcome::SameTerms;
    const bool fits = nextDen.held && *nextDen.held >= INT32_MIN && *nextDen.held <= INT32_MAX;
    if (fits && (nextDen.is(0) || prevDen.is(0))) {
        if (link.nextDen != QLatin1String("?")) return LinkOutcome::Unjudged;
        const bool repeated = link.nextNum == link.prevNum;
        return repeated && (prevDen.is(1) || prevNum.is(0)) ? LinkOutcome::WholeAccepted
                                                            : LinkOutcome::WholeRefused;
    }
    const auto a = prevNum.held, b = prevDen.held, c = nextNum.held, d = nextDen.held;
    if (!fits || !a || !b || !c || !d) return LinkOutcome::Refused;
    if (Wide(*a) * *d != Wide(*b) * *c) return LinkOutcome::Refused;
    return simplifiable(*c, *d) ? LinkOutcome::Intermediate : LinkOutcome::Final;
}

Exact readExact(const QString& caption) {
    return Exact::of(readCaption(caption.toStdU16String()).value);
}

void checkLink(const rc::Link& link) {
    const auto outcome = rc::judgeLink(link, Primes);
    const Exact nextDen =
        Exact::of(roundedHalfEven(readCaption(link.nextDen.toStdU16String()).value));
    const auto expected = linkVerdict(readExact(link.prevNum), readExact(link.prevDen),
                                      readExact(link.nextNum), nextDen, link);
    const std::string seen = "link: \"" + link.prevNum.toStdString() + "\" / \"" +
                             link.prevDen.toStdString() + "\" = \"" + link.nextNum.toStdString() +
                             "\" / \"" + link.nextDen.toStdString() + "\"\njudged " +
                             OutcomeNames[int(outcome)] + ", expected ";
    FUZZ_REQUIRE(outcome == expected, seen + OutcomeNames[int(expected)]);

    // Captions the pad and the exercise write (whole numbers in plain digits, or "?"), read
    // digit by digit, without a double between the text and the verdict.
    std::array<Exact, 4> digitByDigit;
    const QString* captions[] = {&link.prevNum, &link.prevDen, &link.nextNum, &link.nextDen};
    for (int i = 0; i < 4; ++i) {
        if (*captions[i] == QLatin1String("?")) {
            digitByDigit[i] = Exact{true, 0, 0};
        } else if (auto whole = Exact::ofDigits(captions[i]->toStdString())) {
            digitByDigit[i] = *whole;
        } else {
            return;
        }
    }
    const auto exact =
        linkVerdict(digitByDigit[0], digitByDigit[1], digitByDigit[2], digitByDigit[3], link);
    FUZZ_REQUIRE(outcome == exact, seen + OutcomeNames[int(exact)] + " (digit by digit)");
}

// Four numbers written as the pad writes whole numbers; the next fraction often the previous
// one times s/t, or the previous one the next times s, its terms sometimes "?" or the previous
// numerator again.
rc::Link padLink(Input& in) {
    Wide prevNum = in.whole(), prevDen = in.whole();
    Wide nextNum = in.whole(), nextDen = in.whole();
    const std::uint8_t tag = in.byte();
    if (tag & 1) {
        const Wide s = in.raw<std::int8_t>(), t = in.raw<std::int8_t>();
        if (t != 0 && (prevNum * s) % t == 0 && (prevDen * s) % t == 0)
            nextNum = prevNum * s / t, nextDen = prevDen * s / t;
    } else if (tag & 16) {
        const Wide s = in.raw<std::int8_t>();
        prevNum = nextNum * s, prevDen = nextDen * s;
    }
    const auto text = [](Wide v) { return QString::fromStdString(textOf(v)); };
    rc::Link link{text(prevNum), text(prevDen), text(nextNum), text(nextDen)};
    if (tag & 2) link.nextDen = QStringLiteral("?");
    if (tag & 4) link.nextNum = (tag & 8) ? link.prevNum : QStringLiteral("?");
    return link;
}

// ---------------------------------------------------------------------------------------------

void checkProduct(Input& in) {
    const double n1 = in.number(), d1 = in.number(), n2 = in.number(), d2 = in.number();
    const bool division = in.byte() & 1;
    const auto a = heldValue(n1), b = heldValue(d1), c = heldValue(n2), d = heldValue(d2);
    const bool heldTerms = a && b && c && d;
    const Wide num = heldTerms ? Wide(*a) * (division ? *d : *c) : 0;
    const Wide den = heldTerms ? Wide(*b) * (division ? *c : *d) : 0;
    const double resNum = in.answer(num), resDen = in.answer(den);
    const auto verdict = rc::judgeProduct(n1, d1, n2, d2, division, resNum, resDen);
    const auto rn = heldValue(resNum), rd = heldValue(resDen);
    const bool numRight = heldTerms && rn && Wide(*rn) == num;
    const bool denRight = heldTerms && rd && Wide(*rd) == den;
    const std::string seen =
        numbers({n1, d1, n2, d2, resNum, resDen}) + (division ? "division" : "product");
    FUZZ_REQUIRE(verdict.numerator == numRight && verdict.denominator == denRight, seen);
}

void checkSum(Input& in) {
    const std::array<double, 3> n = {in.number(), in.number(), in.number()};
    const std::array<double, 3> k = {in.number(), in.number(), in.number()};
    const bool plus = in.byte() & 1;
    // The given numerators and the factors are the exercise's own: when one is not held,
    // nothing is judged right.
    bool given = true;
    std::array<Wide, 4> expected{};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto ni = heldValue(n[i]), ki = heldValue(k[i]);
        given = given && ni && ki;
        expected[i] = given ? Wide(*ni) * *ki : 0;
    }
    expected[3] = expected[0] + expected[1] + (plus ? expected[2] : -expected[2]);
    std::array<double, 4> answers{};
    for (std::size_t i = 0; i < 4; ++i) answers[i] = in.answer(expected[i]);
    const auto verdict = rc::judgeSum(n, k, plus, answers);
    std::string seen = numbers({n[0], n[1], n[2], k[0], k[1], k[2]}) + (plus ? "+\n" : "-\n") +
                       numbers({answers[0], answers[1], answers[2], answers[3]});
    for (std::size_t i = 0; i < 4; ++i) {
        const auto answer = heldValue(answers[i]);
        const bool right = given && answer && Wide(*answer) == expected[i];
        FUZZ_REQUIRE(verdict.right[i] == right, seen + "numerator " + std::to_string(i));
    }
}

void checkSecondOperator(Input& in) {
    std::array<double, 6> f{};
    for (double& v : f) v = in.number();
    const std::uint8_t tag = in.byte();
    const auto a = heldValue(f[0]), b = heldValue(f[1]), c = heldValue(f[2]), d = heldValue(f[3]);
    if (tag & 1 && a && b && c && d) {
        // The third fraction the sum itself (in other terms, or off by a little).
        const Wide scale = in.raw<std::int8_t>(), nudge = in.raw<std::int8_t>() % 2;
        f[4] = double((Wide(*a) * *d + Wide(*c) * *b) * scale + nudge);
        f[5] = double(Wide(*b) * *d * scale);
    }
    const bool plus = rc::secondOperatorPlus(f[0], f[1], f[2], f[3], f[4], f[5]);
    const auto e = heldValue(f[4]), g = heldValue(f[5]);
    if (!a || !b || !c || !d || !e || !g || *b == 0 || *d == 0 || *g == 0) return;  // never dealt
    // e/g > (a·d + c·b)/(b·d), the denominators' sign turning the comparison.
    const Wide sumNum = Wide(*a) * *d + Wide(*c) * *b, sumDen = Wide(*b) * *d;
    const int sign = compareProducts(*e, sumDen, *g, sumNum);
    const bool larger = (sumDen > 0) == (*g > 0) ? sign > 0 : sign < 0;
    FUZZ_REQUIRE(plus == larger, numbers({f[0], f[1], f[2], f[3], f[4], f[5]}) + "judged " +
                                     (plus ? "plus" : "minus"));
}

void checkSimplifiable(Input& in) {
    const double x = in.number(), y = in.number();
    const double wx = roundedHalfEven(x), wy = roundedHalfEven(y);
    bool expected = false;
    if (wy == 1) {
        expected = true;
    } else if (wy != 0 && std::isfinite(wx) && std::isfinite(wy)) {
        for (std::uint32_t p : SmallPrimes)
            expected = expected || (divides(p, wx) && divides(p, wy));
    }
    const bool simplifiable = rc::canSimplify(x, y, Primes);
    FUZZ_REQUIRE(simplifiable == expected,
                 numbers({x, y}) + "judged " + (simplifiable ? "simplifiable" : "final"));
}

void checkHeld(Input& in) {
    const double x = in.number();
    FUZZ_REQUIRE(rc::held(x) == heldValue(x), numbers({x}));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    switch (std::uint8_t(in.byte() - '0') % 7) {
        case 0: {
            std::array<QString, 4> captions;
            const std::string_view rest = in.rest();
            std::size_t from = 0;
            for (QString& caption : captions) {
                const std::size_t bar = std::min(rest.find('|', from), rest.size());
                caption = from <= rest.size()
                              ? QString::fromUtf8(rest.data() + from, qsizetype(bar - from))
                              : QStringLiteral("?");
                from = bar + 1;
            }
            checkLink({captions[0], captions[1], captions[2], captions[3]});
            break;
        }
        case 1:
            checkLink(padLink(in));
            break;
        case 2:
            checkProduct(in);
            break;
        case 3:
            checkSum(in);
            break;
        case 4:
            checkSecondOperator(in);
            break;
        case 5:
            checkSimplifiable(in);
            break;
        default:
            checkHeld(in);
    }
    return 0;
}
