// The rules as plain functions: the caption-to-number rule and back, the exercises' judges, the
// pad's arithmetic. Each row is named after the fault it catches.
#include "controls/numbers.h"
#include "practice/judging.h"
#include "practice/number_pad.h"
#include "testkit.h"

using rc::testing::numbersIn;
using rc::testing::tableRows;

namespace {
const std::array<std::uint8_t, 21> Primes = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29};
// "yes no" as a list of truths.
QList<bool> truths(const QString& cell) {
    QList<bool> all;
    for (const QString& word : cell.split(' ', Qt::SkipEmptyParts)) all << (word == "yes");
    return all;
}
}  // namespace

class TestRules : public QObject {
    Q_OBJECT
  private slots:
    // caption | value
    void captionToNumber_data() {
        tableRows(R"(
plain              | 12     | 12
leading blanks     | "   7" | 7
minus              | -1     | -1
plus               | +4     | 4
question mark      | ?      | 0
empty              |        | 0
sign alone         | -      | 0
decimals           | 2.5    | 2.5
leading point      | .25    | 0.25
text after number  | 1 X 3  | 1
letters first      | abc16  | 0
exponent           | 1E+16  | 1e16
lower-case exponent| 25e2   | 2500
E without digits   | 3E     | 3
huge digits        | 123456789012345678901234567890 | 1.2345678901234568e29
beyond double      | 1E+999 | 1.7976931348623157e308
negative beyond    | -1E+999 | -1.7976931348623157e308
negative zero      | -0     | 0
)");
    }
    void captionToNumber() {
        QFETCH(QStringList, cells);
        QCOMPARE(rc::Val(cells[0]), cells[1].toDouble());
    }

    // value | caption
    void numberToText_data() {
        tableRows(R"(
zero                | 0                    | 0
negative zero       | -0                   | 0
whole               | 12                   | 12
negative            | -1                   | -1
half                | 0.5                  | 0.5
largest exact whole | 9007199254740991     | 9007199254740991
beyond exact        | 1e16                 | 1E+16
beyond exact, digits| 1.5e20               | 1.5E+20
tiny                | 1e-20                | 1E-20
three-digit exponent| 1.5e200              | 1.5E+200
largest double      | 1.7976931348623157e308 | 1.79769313486232E+308
infinity            | inf                  | 1.79769313486232E+308
third               | 0.333333333333333315 | 0.333333333333333
)");
    }
    void numberToText() {
        QFETCH(QStringList, cells);
        QCOMPARE(rc::Str(cells[0].toDouble()), cells[1]);
    }

    void halving() {
        QCOMPARE(rc::halved(3100), 1550LL);
        QCOMPARE(rc::halved(2655), 1327LL);
        QCOMPARE(rc::halved(-1220), -610LL);
        QCOMPARE(rc::halved(-1221), -610LL);  // truncation toward zero
        QCOMPARE(rc::halved(2.5), 1LL);       // 2.5 rounds to 2 (even), then halves
        QCOMPARE(rc::halved(3.5), 2LL);       // 3.5 rounds to 4
        QCOMPARE(rc::halved(-3.5), -2LL);
    }

    // num1 den1 num2 den2 | x or : | answer | numerator, denominator right
    void product_data() {
        tableRows(R"(
product right                  | 3 4 2 5 | x | 6 20 | yes yes
simplified product is wrong    | 3 4 2 5 | x | 3 10 | no no
division crosses               | 3 4 2 5 | : | 15 8 | yes yes
division answered as a product | 3 4 2 5 | : | 6 20 | no no
only the numerator wrong       | 3 4 2 5 | x | 5 20 | no yes
empty answer reads 0           | 1 3 1 3 | x | 0 0  | no no
terms not swapped              | 3 4 2 5 | x | 20 6 | no no
product past 2^53 answered with its rounded value | 94906267 1 94906267 1 | x | 9007199515875288 1 | no yes
largest held product                              | 94906265 1 94906265 1 | x | 9007199136250225 1 | yes yes
)");
    }
    void product() {
        QFETCH(QStringList, cells);
        const QList<double> f = numbersIn(cells[0]), answer = numbersIn(cells[2]);
        const auto verdict =
            rc::judgeProduct(f[0], f[1], f[2], f[3], cells[1] == ":", answer[0], answer[1]);
        QCOMPARE(QList<bool>({verdict.numerator, verdict.denominator}), truths(cells[3]));
    }

    // given numerators | the lists' factors | + or - | the pupil's four numerators | right
    void sum_data() {
        tableRows(R"(
all right with a minus                             | 3 1 2 | 3 6 4 | - | 9 6 8 7   | yes yes yes yes
the sum where the sign is a minus                  | 3 1 2 | 3 6 4 | - | 9 6 8 23  | yes yes yes no
all right with a plus                              | 1 1 9 | 5 5 2 | + | 5 5 18 28 | yes yes yes yes
the difference where the sign is a plus            | 1 1 9 | 5 5 2 | + | 5 5 18 -8 | yes yes yes no
result from the factors, not from wrong numerators | 3 1 2 | 3 6 4 | - | 8 6 9 7   | no yes no yes
result agreeing with wrong numerators is wrong     | 3 1 2 | 3 6 4 | - | 8 6 9 5   | no yes no no
each numerator with its own list's factor          | 3 1 2 | 3 6 4 | - | 6 12 8 10 | no no yes no
zero result over a third equal to the sum          | 1 1 3 | 2 1 1 | - | 2 1 3 0   | yes yes yes yes
right result, though the sum passes 2^53 on the way | 9007199254740991 2 2 | 1 1 1 | - | 9007199254740991 2 2 9007199254740991 | yes yes yes yes
a product past 2^53 answered with its rounded value | 4503599627370497 1 1 | 3 1 1 | + | 13510798882111492 1 1 13510798882111492 | no yes yes no
)");
    }
    void sum() {
        QFETCH(QStringList, cells);
        const QList<double> n = numbersIn(cells[0]), k = numbersIn(cells[1]),
                            a = numbersIn(cells[3]);
        const rc::SumVerdict verdict = rc::judgeSum({n[0], n[1], n[2]}, {k[0], k[1], k[2]},
                                                    cells[2] == "+", {a[0], a[1], a[2], a[3]});
        QCOMPARE(QList<bool>(verdict.right.begin(), verdict.right.end()), truths(cells[4]));
        QCOMPARE(verdict.all(), !truths(cells[4]).contains(false));
    }

    // n0 d0 n1 d1 n2 d2 | whether the second operator is a plus
    void secondOperator_data() {
        tableRows(R"(
third smaller than the sum     | 3 4 1 2 2 3    | no
third larger than the sum      | 1 4 1 4 9 10   | yes
third equal to the sum         | 1 2 1 4 3 4    | no
equal in value, not in terms   | 2 4 2 8 6 8    | no
improper third just larger     | 10 11 10 11 2 1 | yes
third equal to the sum, its quotient rounded above it     | 1 2 1 3 5 6 | no
another, over a sum of improper fractions                 | 1 2 2 3 7 6 | no
third 1/660 above the sum                                 | 1 2 1 3 551 660 | yes
third 1/660 below the sum                                 | 1 2 1 3 549 660 | no
terms near 2^53: sum exactly 1, third N/N equal to it       | 9007199254740990 9007199254740991 1 9007199254740991 9007199254740991 9007199254740991 | no
terms near 2^53: third (N-1)/(N-2) just above 1            | 9007199254740990 9007199254740991 1 9007199254740991 9007199254740990 9007199254740989 | yes
terms near 2^53: third (N-2)/(N-1) just below 1            | 9007199254740990 9007199254740991 1 9007199254740991 9007199254740989 9007199254740990 | no
terms near 2^53, negative denominators                     | 9007199254740990 -9007199254740991 1 -9007199254740991 -9007199254740990 9007199254740989 | no
)");
    }
    void secondOperator() {
        QFETCH(QStringList, cells);
        const QList<double> f = numbersIn(cells[0]);
        QCOMPARE(rc::secondOperatorPlus(f[0], f[1], f[2], f[3], f[4], f[5]), cells[1] == "yes");
    }

    // x y | whether x/y can still be simplified
    void simplifiable_data() {
        tableRows(R"(
denominator 1 is a whole number still to write | 7 1   | yes
common 2                                       | 12 18 | yes
common 29, the last prime tried                | 29 58 | yes
common 31 is past the primes tried             | 31 62 | no
no common prime                                | 5 7   | no
numerator alone divisible                      | 4 7   | no
negative terms                                 | -6 9  | yes
zero numerator                                 | 0 9   | yes
a fraction over 0 is no fraction               | 8 0   | no
)");
    }
    void simplifiable() {
        QFETCH(QStringList, cells);
        const QList<double> xy = numbersIn(cells[0]);
        QCOMPARE(rc::canSimplify(xy[0], xy[1], Primes), cells[1] == "yes");
    }

    // prev num, prev den, next num, next den as captions | outcome
    void link_data() {
        tableRows(R"(
equal terms left of the button                           | 6 6 1 1        | SameTerms
terms past 2^53 that read alike are not equal terms      | 9223372036854775932 9223372036854775808 0 63 | Refused
nothing entered is a refused whole number                | 24 36 ? ?      | WholeRefused
whole number repeating the numerator before it           | 2 1 2 ?        | WholeAccepted
whole number under a visible ? must repeat the numerator | 12 18 2 ?      | WholeRefused
whole number compared as text                            | 2 1 02 ?       | WholeRefused
12/18 is not the whole number 12                         | 12 18 12 ?     | WholeRefused
x/-1 is not the whole number x                           | 7 -1 7 ?       | WholeRefused
0 over any number is the whole number 0                  | 0 5 0 ?        | WholeAccepted
zero typed as denominator is left unjudged               | 12 18 2 0      | Unjudged
equal and still simplifiable                             | 24 36 12 18    | Intermediate
x/1 can still be written whole                           | 8 4 2 1        | Intermediate
equal and final                                          | 12 18 2 3      | Final
common prime past 29 is final                            | 62 124 31 62   | Final
not equal in value                                       | 24 36 12 17    | Refused
larger terms of the same value are accepted              | 2 3 4 6        | Intermediate
denominator past 32 bits is wrong                        | 1 2 2147483648 4294967296 | Refused
numerator past 2^53 is wrong (it would read as 2^53)     | 4503599627370496 1 9007199254740993 2 | Refused
prev numerator past 2^53 is wrong                        | 18014398509481984 4 2 1 | Refused
cross-products 4 apart, though the quotients round alike | -9007199254740790 -6 -7505999378950659 -5 | Refused
largest held numerator is judged                         | 9007199254740991 2 9007199254740991 2 | Final
2^53 is past the numbers held                            | 9007199254740992 2 9007199254740992 2 | Refused
largest 32-bit denominator is judged                     | 2 4294967294 1 2147483647 | Final
one past the largest 32-bit denominator is wrong         | 1 2 1073741824 2147483648 | Refused
smallest 32-bit denominator is judged                    | 1 2 -1073741824 -2147483648 | Intermediate
one below the smallest 32-bit denominator is wrong       | 1 2 -1073741825 -2147483650 | Refused
given fraction over 0 repeated as a whole number         | 8 0 8 ?        | WholeRefused
given fraction over 0, a denominator typed after it      | 8 0 8 4        | Unjudged
)");
    }
    void link() {
        QFETCH(QStringList, cells);
        const QStringList c = cells[0].split(' ', Qt::SkipEmptyParts);
        const QStringList names = {"SameTerms", "Unjudged",     "WholeAccepted", "WholeRefused",
                                   "Refused",   "Intermediate", "Final"};
        const auto outcome = rc::judgeLink(rc::Link{c[0], c[1], c[2], c[3]}, Primes);
        QCOMPARE(names.value(int(outcome)), cells[1]);
    }

    // The pad's arithmetic on whole numbers of any length: number | key (a digit, or a step
    // such as +1 or -10) | result.
    void padNumbers_data() {
        tableRows(R"(
first digit                     | 0                      | 7   | 7
digits append                   | 1234                   | 5   | 12345
digit after a negative number   | -5                     | 3   | -47
zero after a negative number    | -5                     | 0   | -50
minus one from zero             | 0                      | -1  | -1
step across zero upwards        | -5                     | +10 | 5
step across zero downwards      | 7                      | -10 | -3
step to zero has no sign        | -10                    | +10 | 0
carry past twenty digits        | 99999999999999999999   | +1  | 100000000000000000000
borrow past twenty digits       | -100000000000000000000 | +1  | -99999999999999999999
digit on a huge negative number | -123456789012345678901 | 9   | -1234567890123456789001
)");
    }
    void padNumbers() {
        QFETCH(QStringList, cells);
        const QString& key = cells[1];
        QCOMPARE(key.size() == 1 ? rc::appendDigit(cells[0], key.toInt())
                                 : rc::addToWhole(cells[0], key.toInt()),
                 cells[2]);
    }
};

QTEST_APPLESS_MAIN(TestRules)
#include "test_rules.moc"
