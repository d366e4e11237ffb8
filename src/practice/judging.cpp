#include "practice/judging.h"

#include <cmath>
#include <cstdint>

#include "controls/numbers.h"

namespace rc {

TermsVerdict judgeProduct(double num1, double den1, double num2, double den2, bool division,
                          double resNum, double resDen) {
    const double numerator = division ? num1 * den2 : num1 * num2;
    const double denominator = division ? den1 * num2 : den1 * den2;
    return {resNum == numerator, resDen == denominator};
}

bool secondOperatorPlus(double n0, double d0, double n1, double d1, double n2, double d2) {
    return n2 / d2 > n0 / d0 + n1 / d1;
}

SumVerdict judgeSum(const std::array<double, 3>& numerators, const std::array<double, 3>& factors,
                    bool secondPlus, const std::array<double, 4>& answers) {
    std::array<double, 3> expected{};
    for (std::size_t i = 0; i < 3; ++i) expected[i] = factors[i] * numerators[i];
    const double result = expected[0] + expected[1] + (secondPlus ? expected[2] : -expected[2]);
    SumVerdict verdict;
    for (std::size_t i = 0; i < 3; ++i) verdict.right[i] = answers[i] == expected[i];
    verdict.right[3] = answers[3] == result;
    return verdict;
}

bool canSimplify(double x, double y, std::span<const std::uint8_t> primes) {
    const double wholeX = roundHalfEven(x), wholeY = roundHalfEven(y);
    if (wholeY == 1) return true;
    for (std::size_t i = 0; i < primes.size() && i <= 9; ++i) {
        const double p = primes[i];
        if (p != 0 && std::fmod(wholeY, p) == 0 && std::fmod(wholeX, p) == 0) return true;
    }
    return false;
}

bool heldExactly(double value) {
    return std::fabs(value) < 9007199254740992.0;  // 2^53
}

LinkOutcome judgeLink(const Link& link, std::span<const std::uint8_t> primes) {
    const double prevNum = Val(link.prevNum), prevDen = Val(link.prevDen);
    const double nextNum = Val(link.nextNum), nextDenValue = roundHalfEven(Val(link.nextDen));
    if (prevNum == prevDen) return LinkOutcome::SameTerms;
    // The pupil's denominator is a 32-bit whole number; one beyond that is a wrong answer.
    const bool denominatorFits = nextDenValue >= INT32_MIN && nextDenValue <= INT32_MAX;
    const double nextDen = denominatorFits ? nextDenValue : 0;
    if (denominatorFits && (nextDen == 0 || prevDen == 0)) {
        if (link.nextDen != QLatin1String("?")) return LinkOutcome::Unjudged;
        return link.nextNum == link.prevNum ? LinkOutcome::WholeAccepted
                                            : LinkOutcome::WholeRefused;
    }
    if (!denominatorFits || !heldExactly(prevNum) || !heldExactly(prevDen) || !heldExactly(nextNum))
        return LinkOutcome::Refused;
    if (prevNum / prevDen != nextNum / nextDen) return LinkOutcome::Refused;
    return canSimplify(nextNum, nextDen, primes) ? LinkOutcome::Intermediate : LinkOutcome::Final;
}

}  // namespace rc
