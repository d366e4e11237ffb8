#include "practice/judging.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "controls/numbers.h"

namespace rc {

namespace {
__extension__ using Wide = __int128;  // products of two held numbers, sums of three
Wide floorDiv(Wide p, Wide q) {       // q > 0
    const Wide t = p / q;
    return (p % q != 0 && p < 0) ? t - 1 : t;
}

// The sign of p/q - r/s (q, s not 0), without a product: whole parts first, then the
// reciprocals of what is left, which swap the order.
int compare(Wide p, Wide q, Wide r, Wide s) {
    if (q < 0) p = -p, q = -q;
    if (s < 0) r = -r, s = -s;
    for (int sign = 1;; sign = -sign) {
        const Wide wp = floorDiv(p, q), wr = floorDiv(r, s);
        if (wp != wr) return wp > wr ? sign : -sign;
        p -= wp * q, r -= wr * s;  // now 0 <= p < q and 0 <= r < s
        if (p == 0 || r == 0) return p == r ? 0 : (p == 0 ? -sign : sign);
        std::swap(p, q), std::swap(r, s);
    }
}

}  // namespace

std::optional<long long> held(double value) {
    if (!(std::fabs(value) < 9007199254740992.0) || value != std::trunc(value)) return {};
    return static_cast<long long>(value);
}

TermsVerdict judgeProduct(double num1, double den1, double num2, double den2, bool division,
                          double resNum, double resDen) {
    const auto n1 = held(num1), d1 = held(den1), n2 = held(num2), d2 = held(den2);
    const auto answerNum = held(resNum), answerDen = held(resDen);
    if (!n1 || !d1 || !n2 || !d2) return {};
    const Wide numerator = division ? Wide(*n1) * *d2 : Wide(*n1) * *n2;
    const Wide denominator = division ? Wide(*d1) * *n2 : Wide(*d1) * *d2;
    return {answerNum && *answerNum == numerator, answerDen && *answerDen == denominator};
}

bool secondOperatorPlus(double n0, double d0, double n1, double d1, double n2, double d2) {
    const auto a = held(n0), b = held(d0), c = held(n1), d = held(d1), e = held(n2), f = held(d2);
    if (!a || !b || !c || !d || !e || !f || *b == 0 || *d == 0 || *f == 0)
        return n2 / d2 > n0 / d0 + n1 / d1;  // never dealt: denominators are 2 to 11
    // e/f > (a·d + c·b)/(b·d); the cross-products could pass 128 bits, so compared by their
    // continued fractions.
    return compare(*e, *f, Wide(*a) * *d + Wide(*c) * *b, Wide(*b) * *d) > 0;
}

SumVerdict judgeSum(const std::array<double, 3>& numerators, const std::array<double, 3>& factors,
                    bool secondPlus, const std::array<double, 4>& answers) {
    SumVerdict verdict;
    std::array<Wide, 3> expected{};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto n = held(numerators[i]), k = held(factors[i]);
        if (!n || !k) return verdict;
        expected[i] = Wide(*k) * *n;
    }
    const Wide result = expected[0] + expected[1] + (secondPlus ? expected[2] : -expected[2]);
    for (std::size_t i = 0; i < 4; ++i) {
        const auto answer = held(answers[i]);
        verdict.right[i] = answer && *answer == (i < 3 ? expected[i] : result);
    }
    return verdict;
}

bool canSimplify(double x, double y, std::span<const std::uint8_t> primes) {
    const double wholeX = roundHalfEven(x), wholeY = roundHalfEven(y);
    if (wholeY == 1) return true;
    if (wholeY == 0) return false;
    for (std::size_t i = 0; i < primes.size() && i <= 9; ++i) {
        const double p = primes[i];
        if (p != 0 && std::fmod(wholeY, p) == 0 && std::fmod(wholeX, p) == 0) return true;
    }
    return false;
}

LinkOutcome judgeLink(const Link& link, std::span<const std::uint8_t> primes) {
    const double prevNum = Val(link.prevNum), prevDen = Val(link.prevDen);
    const double nextNum = Val(link.nextNum), nextDenValue = roundHalfEven(Val(link.nextDen));
    // Equal terms, told apart from two numbers past 2^53 that merely read alike.
    if (prevNum == prevDen && std::fabs(prevNum) < 9007199254740992.0)
        return LinkOutcome::SameTerms;
    // The pupil's denominator is a 32-bit whole number; one beyond that is a wrong answer.
    const bool denominatorFits = nextDenValue >= INT32_MIN && nextDenValue <= INT32_MAX;
    const double nextDen = denominatorFits ? nextDenValue : 0;
    if (denominatorFits && (nextDen == 0 || prevDen == 0)) {
        if (link.nextDen != QLatin1String("?")) return LinkOutcome::Unjudged;
        // The whole number repeats the numerator before it, and has its value: that fraction
        // is x/1 (or 0 over any number). 12/18 is not 12; a fraction over 0 has no value.
        if (link.nextNum != link.prevNum || !(prevDen == 1 || prevNum == 0))
            return LinkOutcome::WholeRefused;
        return LinkOutcome::WholeAccepted;
    }
    const auto a = held(prevNum), b = held(prevDen), c = held(nextNum), d = held(nextDen);
    if (!denominatorFits || !a || !b || !c || !d) return LinkOutcome::Refused;
    if (Wide(*a) * *d != Wide(*b) * *c) return LinkOutcome::Refused;
    return canSimplify(nextNum, nextDen, primes) ? LinkOutcome::Intermediate : LinkOutcome::Final;
}

}  // namespace rc
