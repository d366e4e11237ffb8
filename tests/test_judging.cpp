// The exercises' judges as plain arithmetic: each row is named after the fault it catches.
#include <QTest>
#include <array>

#include "practice/judging.h"
#include "practice/number_pad.h"

using rc::LinkOutcome;

namespace {
const std::array<std::uint8_t, 21> Primes = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29};
}

Q_DECLARE_METATYPE(rc::LinkOutcome)

class TestJudging : public QObject {
    Q_OBJECT
  private slots:
    void product_data() {
        QTest::addColumn<QList<double>>("fractions");  // num1, den1, num2, den2
        QTest::addColumn<bool>("division");
        QTest::addColumn<QList<double>>("answer");
        QTest::addColumn<bool>("numeratorRight");
        QTest::addColumn<bool>("denominatorRight");
        using L = QList<double>;
        QTest::newRow("product right") << L{3, 4, 2, 5} << false << L{6, 20} << true << true;
        QTest::newRow("simplified product is wrong")
            << L{3, 4, 2, 5} << false << L{3, 10} << false << false;
        QTest::newRow("division crosses") << L{3, 4, 2, 5} << true << L{15, 8} << true << true;
        QTest::newRow("division answered as a product")
            << L{3, 4, 2, 5} << true << L{6, 20} << false << false;
        QTest::newRow("only the numerator wrong")
            << L{3, 4, 2, 5} << false << L{5, 20} << false << true;
        QTest::newRow("empty answer reads 0")
            << L{1, 3, 1, 3} << false << L{0, 0} << false << false;
        QTest::newRow("terms not swapped") << L{3, 4, 2, 5} << false << L{20, 6} << false << false;
    }
    void product() {
        QFETCH(QList<double>, fractions);
        QFETCH(bool, division);
        QFETCH(QList<double>, answer);
        const auto verdict = rc::judgeProduct(fractions[0], fractions[1], fractions[2],
                                              fractions[3], division, answer[0], answer[1]);
        QTEST(verdict.numerator, "numeratorRight");
        QTEST(verdict.denominator, "denominatorRight");
    }

    // Given numerators n0..n2, the lists' factors k0..k2, the pupil's four numerators.
    void sum_data() {
        QTest::addColumn<QList<double>>("numerators");
        QTest::addColumn<QList<double>>("factors");
        QTest::addColumn<bool>("plus");
        QTest::addColumn<QList<double>>("answers");
        QTest::addColumn<QList<bool>>("right");
        using L = QList<double>;
        using B = QList<bool>;
        // 3/4 + 1/2 - 2/3 over 12.
        QTest::newRow("all right with a minus")
            << L{3, 1, 2} << L{3, 6, 4} << false << L{9, 6, 8, 7} << B{true, true, true, true};
        QTest::newRow("the sum where the sign is a minus")
            << L{3, 1, 2} << L{3, 6, 4} << false << L{9, 6, 8, 23} << B{true, true, true, false};
        QTest::newRow("all right with a plus")
            << L{1, 1, 9} << L{5, 5, 2} << true << L{5, 5, 18, 28} << B{true, true, true, true};
        QTest::newRow("the difference where the sign is a plus")
            << L{1, 1, 9} << L{5, 5, 2} << true << L{5, 5, 18, -8} << B{true, true, true, false};
        QTest::newRow("result from the factors, not from wrong numerators")
            << L{3, 1, 2} << L{3, 6, 4} << false << L{8, 6, 9, 7} << B{false, true, false, true};
        QTest::newRow("result agreeing with wrong numerators is wrong")
            << L{3, 1, 2} << L{3, 6, 4} << false << L{8, 6, 9, 5} << B{false, true, false, false};
        QTest::newRow("each numerator with its own list's factor")
            << L{3, 1, 2} << L{3, 6, 4} << false << L{6, 12, 8, 10} << B{false, false, true, false};
        QTest::newRow("zero result over a third equal to the sum")
            << L{1, 1, 3} << L{2, 1, 1} << false << L{2, 1, 3, 0} << B{true, true, true, true};
    }
    void sum() {
        QFETCH(QList<double>, numerators);
        QFETCH(QList<double>, factors);
        QFETCH(bool, plus);
        QFETCH(QList<double>, answers);
        QFETCH(QList<bool>, right);
        const rc::SumVerdict verdict = rc::judgeSum(
            {numerators[0], numerators[1], numerators[2]}, {factors[0], factors[1], factors[2]},
            plus, {answers[0], answers[1], answers[2], answers[3]});
        QCOMPARE(QList<bool>(verdict.right.begin(), verdict.right.end()), right);
        QCOMPARE(verdict.all(), !right.contains(false));
    }

    void secondOperator_data() {
        QTest::addColumn<QList<double>>("fractions");  // n0, d0, n1, d1, n2, d2
        QTest::addColumn<bool>("plus");
        using L = QList<double>;
        QTest::newRow("third smaller than the sum") << L{3, 4, 1, 2, 2, 3} << false;
        QTest::newRow("third larger than the sum") << L{1, 4, 1, 4, 9, 10} << true;
        QTest::newRow("third equal to the sum") << L{1, 2, 1, 4, 3, 4} << false;
        QTest::newRow("equal in value, not in terms") << L{2, 4, 2, 8, 6, 8} << false;
        QTest::newRow("improper third just larger") << L{10, 11, 10, 11, 2, 1} << true;
    }
    void secondOperator() {
        QFETCH(QList<double>, fractions);
        const auto& f = fractions;
        QTEST(rc::secondOperatorPlus(f[0], f[1], f[2], f[3], f[4], f[5]), "plus");
    }

    void simplifiable_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("result");
        QTest::newRow("denominator 1 is a whole number still to write") << 7.0 << 1.0 << true;
        QTest::newRow("common 2") << 12.0 << 18.0 << true;
        QTest::newRow("common 29, the last prime tried") << 29.0 << 58.0 << true;
        QTest::newRow("common 31 is past the primes tried") << 31.0 << 62.0 << false;
        QTest::newRow("no common prime") << 5.0 << 7.0 << false;
        QTest::newRow("numerator alone divisible") << 4.0 << 7.0 << false;
        QTest::newRow("negative terms") << -6.0 << 9.0 << true;
        QTest::newRow("zero numerator") << 0.0 << 9.0 << true;
    }
    void simplifiable() {
        QFETCH(double, x);
        QFETCH(double, y);
        QTEST(rc::canSimplify(x, y, Primes), "result");
    }

    void link_data() {
        QTest::addColumn<QStringList>("captions");  // prev num, prev den, next num, next den
        QTest::addColumn<LinkOutcome>("outcome");
        using S = QStringList;
        QTest::newRow("equal terms left of the button")
            << S{"6", "6", "1", "1"} << LinkOutcome::SameTerms;
        QTest::newRow("nothing entered is a refused whole number")
            << S{"24", "36", "?", "?"} << LinkOutcome::WholeRefused;
        QTest::newRow("whole number repeating the numerator before it")
            << S{"2", "1", "2", "?"} << LinkOutcome::WholeAccepted;
        QTest::newRow("whole number under a visible ? must repeat the numerator")
            << S{"12", "18", "2", "?"} << LinkOutcome::WholeRefused;
        QTest::newRow("whole number compared as text")
            << S{"2", "1", "02", "?"} << LinkOutcome::WholeRefused;
        QTest::newRow("zero typed as denominator is left unjudged")
            << S{"12", "18", "2", "0"} << LinkOutcome::Unjudged;
        QTest::newRow("equal and still simplifiable")
            << S{"24", "36", "12", "18"} << LinkOutcome::Intermediate;
        QTest::newRow("x/1 can still be written whole")
            << S{"8", "4", "2", "1"} << LinkOutcome::Intermediate;
        QTest::newRow("equal and final") << S{"12", "18", "2", "3"} << LinkOutcome::Final;
        QTest::newRow("common prime past 29 is final")
            << S{"62", "124", "31", "62"} << LinkOutcome::Final;
        QTest::newRow("not equal in value") << S{"24", "36", "12", "17"} << LinkOutcome::Refused;
        QTest::newRow("larger terms of the same value are accepted")
            << S{"2", "3", "4", "6"} << LinkOutcome::Intermediate;
        QTest::newRow("denominator past 32 bits is wrong")
            << S{"1", "2", "2147483648", "4294967296"} << LinkOutcome::Refused;
        // 9007199254740993 reads as 2^53, which would make the quotient look right.
        QTest::newRow("numerator past 2^53 is wrong")
            << S{"4503599627370496", "1", "9007199254740993", "2"} << LinkOutcome::Refused;
        QTest::newRow("prev numerator past 2^53 is wrong")
            << S{"18014398509481984", "4", "2", "1"} << LinkOutcome::Refused;
    }
    void link() {
        QFETCH(QStringList, captions);
        const rc::Link link{captions[0], captions[1], captions[2], captions[3]};
        QTEST(rc::judgeLink(link, Primes), "outcome");
    }

    // The pad's arithmetic on whole numbers of any length.
    void padNumbers_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("key");  // a digit "0".."9", or a step "+1", "-10", ...
        QTest::addColumn<QString>("result");
        QTest::newRow("first digit") << "0"
                                     << "7"
                                     << "7";
        QTest::newRow("digits append") << "1234"
                                       << "5"
                                       << "12345";
        QTest::newRow("digit after a negative number") << "-5"
                                                       << "3"
                                                       << "-47";
        QTest::newRow("zero after a negative number") << "-5"
                                                      << "0"
                                                      << "-50";
        QTest::newRow("minus one from zero") << "0"
                                             << "-1"
                                             << "-1";
        QTest::newRow("step across zero upwards") << "-5"
                                                  << "+10"
                                                  << "5";
        QTest::newRow("step across zero downwards") << "7"
                                                    << "-10"
                                                    << "-3";
        QTest::newRow("step to zero has no sign") << "-10"
                                                  << "+10"
                                                  << "0";
        QTest::newRow("carry past twenty digits") << "99999999999999999999"
                                                  << "+1"
                                                  << "100000000000000000000";
        QTest::newRow("borrow past twenty digits") << "-100000000000000000000"
                                                   << "+1"
                                                   << "-99999999999999999999";
        QTest::newRow("digit on a huge negative number") << "-123456789012345678901"
                                                         << "9"
                                                         << "-1234567890123456789001";
    }
    void padNumbers() {
        QFETCH(QString, number);
        QFETCH(QString, key);
        const QString result = key.size() == 1 ? rc::appendDigit(number, key.toInt())
                                               : rc::addToWhole(number, key.toInt());
        QTEST(result, "result");
    }
};

QTEST_MAIN(TestJudging)
#include "test_judging.moc"
