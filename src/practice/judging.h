#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace rc {

// The judges of the exercises as plain arithmetic on the numbers the pupil sees: no controls.

// What "COMPROBAR" of the multiply/divide exercise makes of the two terms of the answer: each
// must be the unsimplified product (num1·num2 over den1·den2) or, for a division, the cross
// product (num1·den2 over den1·num2), exactly.
struct TermsVerdict {
    bool numerator = false;
    bool denominator = false;
    bool both() const { return numerator && denominator; }
};
TermsVerdict judgeProduct(double num1, double den1, double num2, double den2, bool division,
                          double resNum, double resDen);

// x/y can still be simplified when y is 1 (it can be written as a whole number) or when one of
// the primes, up to 29, divides both. Numbers are whole; they are rounded first. x/0 is no
// fraction: it cannot be simplified.
bool canSimplify(double x, double y, std::span<const std::uint8_t> primes);

// One link of the simplify exercise: the fraction left of the pressed button (prev) and the
// pupil's fraction right of it (next), as their captions read ("?" while not entered).
struct Link {
    QString prevNum, prevDen, nextNum, nextDen;
};

enum class LinkOutcome {
    SameTerms,      // prev's numerator equals its denominator (both held): only a message
    Unjudged,       // no quotient can be formed and next's denominator is not "?": nothing
    WholeAccepted,  // next is a lone whole number, prev's numerator over 1: the chain ends
    WholeRefused,   // a lone whole number that is not prev's value (any after x/0)
    Refused,        // the fractions differ in value, or a number is not held exactly
    Intermediate,   // equal in value, and next can be simplified further
    Final,          // equal in value, and next cannot be simplified any further
};
LinkOutcome judgeLink(const Link& link, std::span<const std::uint8_t> primes);

// The add/subtract exercise: n0/d0 + n1/d1, then plus or minus n2/d2. The second operator is a
// plus sign only when the third fraction is larger than the sum of the first two, so that the
// expected result is never negative; equality gives minus. Compared exactly, as whole
// cross-products: n2·d0·d1 against (n0·d1 + n1·d0)·d2.
bool secondOperatorPlus(double n0, double d0, double n1, double d1, double n2, double d2);

// What "COMPROBAR" of the add/subtract exercise makes of the pupil's four numerators: each
// equivalent numerator must be its given numerator times the factor of its own list's
// selection, and the result those three products joined by the operators shown, whatever the
// pupil wrote for the three.
struct SumVerdict {
    std::array<bool, 4> right{};  // the three equivalent numerators, then the result's
    bool all() const { return right[0] && right[1] && right[2] && right[3]; }
};
SumVerdict judgeSum(const std::array<double, 3>& numerators, const std::array<double, 3>& factors,
                    bool secondPlus, const std::array<double, 4>& answers);

// The judges compare whole numbers exactly, products and sums in 128 bits. A number is held
// when it is whole and below 2^53 in size (a double holds it exactly); a number that is not
// held is never judged right.
std::optional<long long> held(double value);

}  // namespace rc
