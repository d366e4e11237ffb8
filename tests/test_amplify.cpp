// "Amplificar": the base fraction times m/m, and the fraction panel below it.
#include <QRegularExpression>
#include <QTest>
#include <cfloat>

#include "controls/numbers.h"
#include "pages.h"

using namespace rc::testing;

class TestAmplify : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    // Design captions until the first menu click; then 1/2 x 1, and 1/2 x 3.
    void workedExamples() {
        Lessons on;
        auto& [app, panel, representation, amplify, simplify] = on;
        QCOMPARE(amplify.numerators(), QStringList({"1", "1", "1", "1"}));
        QCOMPARE(amplify.denominators(), QStringList({"2", "1", "1", "1"}));
        amplify.open();
        QCOMPARE(amplify.numerators(), QStringList({"1", "1", "1 X 1", "1"}));
        QCOMPARE(amplify.denominators(), QStringList({"2", "1", "2 X 1", "2"}));
        QCOMPARE(panel.fraction(), "1/2");

        amplify.times(3);
        QCOMPARE(amplify.multiplierIndex(), 2);
        QCOMPARE(amplify.numerators(), QStringList({"1", "3", "1 X 3", "3"}));
        QCOMPARE(amplify.denominators(), QStringList({"2", "3", "2 X 3", "6"}));
        QCOMPARE(panel.fraction(), "3/6");
        QCOMPARE(panel.blue(), 3);
        QCOMPARE(panel.white(), 3);

        // The same button again draws afresh over a spoilt picture.
        panel.picture().surface().clear(rc::RGB(1, 2, 3));
        amplify.times(3);
        QCOMPARE(amplify.denominators(), QStringList({"2", "3", "2 X 3", "6"}));
        QCOMPARE(panel.blue(), 3);
        QCOMPARE(panel.white(), 3);
    }

    // a runs from 0 to 200 and b from 2 to 200; refused presses change nothing.
    void baseLimits() {
        Lessons on;
        auto& [app, panel, representation, amplify, simplify] = on;
        amplify.open();
        amplify.times(4);  // X 4
        amplify.baseNumerator(Down, 2);
        QCOMPARE(amplify.numerators(), QStringList({"0", "4", "0 X 4", "0"}));
        QCOMPARE(panel.fraction(), "0/8");
        QCOMPARE(panel.blue(), 0);
        QCOMPARE(panel.white(), 8);
        amplify.baseDenominator(Down);
        QCOMPARE(amplify.baseDenominatorText(), "2");

        amplify.baseNumerator(Up, 201);
        amplify.baseDenominator(Up, 199);
        QCOMPARE(panel.fraction(), "800/800");
        amplify.baseDenominator(Down, 198);
        amplify.times(10);
        QCOMPARE(amplify.numerators(), QStringList({"200", "10", "200 X 10", "2000"}));
        QCOMPARE(amplify.denominators(), QStringList({"2", "10", "2 X 10", "20"}));
        QCOMPARE(panel.fraction(), "2000/20");
        QCOMPARE(panel.wholeUnits(), 100.0);
        // 100 whole circles: the panel may not grow any further.
        panel.numerator(Up);
        panel.denominator(Down);
        QCOMPARE(panel.fraction(), "2000/20");
    }

    // 1/20 x 10: the panel's denominator moves the base denominator but not the working,
    // which the next menu click recomputes from it, past 200.
    void panelDenominator() {
        Lessons on;
        auto& [app, panel, representation, amplify, simplify] = on;
        amplify.open();
        amplify.baseDenominator(Up, 18);
        amplify.times(10);
        QCOMPARE(panel.fraction(), "10/200");
        panel.denominator(Up);  // refused: 200 is not below 150
        QCOMPARE(panel.fraction(), "10/200");
        panel.denominator(Down);
        QCOMPARE(panel.fraction(), "10/199");
        QCOMPARE(amplify.denominators(), QStringList({"199", "10", "20 X 10", "200"}));

        amplify.open();
        panel.denominator(Down);
        amplify.baseDenominator(Up);  // refused: 1989 is past 200
        amplify.baseDenominator(Down);
        QCOMPARE(amplify.denominators(), QStringList({"1988", "10", "1988 X 10", "19880"}));

        Lessons fresh;
        fresh.amplify.open();
        fresh.panel.denominator(Up, 150);
        QCOMPARE(fresh.panel.fraction(), "1/150");
        QCOMPARE(fresh.amplify.denominators(), QStringList({"150", "1", "2 X 1", "2"}));
    }

    // The panel's numerator stops at 16 whole circles, and so does its denominator's "--".
    void sixteenCircles() {
        Lessons on;
        auto& [app, panel, representation, amplify, simplify] = on;
        amplify.open();
        amplify.baseDenominator(Up);  // 1/3
        panel.numerator(Up, 60);
        QCOMPARE(panel.fraction(), "48/3");
        QCOMPARE(panel.wholeUnits(), 16.0);
        QCOMPARE(panel.blue(), 48);
        panel.denominator(Down);
        QCOMPARE(panel.fraction(), "48/3");

        panel.numerator(Down);  // 15 whole circles
        panel.denominator(Down);
        QCOMPARE(panel.fraction(), "47/2");
        QCOMPARE(amplify.baseDenominatorText(), "2");
        panel.numerator(Down, 50);
        QCOMPARE(panel.fraction(), "0/2");
        QCOMPARE(amplify.numerators().first(), "1");
    }

    // Every menu click followed by the panel's "--" makes the base denominator about ten times
    // larger. Captions stay plain digits while a double holds them exactly, then go to
    // exponent form, one power of ten per round, and stop at the largest double.
    void growingDenominator() {
        Lessons on;
        auto& [app, panel, representation, amplify, simplify] = on;
        amplify.open();
        amplify.times(10);
        const QString largest = rc::Str(DBL_MAX);
        QCOMPARE(largest, "1.79769313486232E+308");
        const QRegularExpression exponentForm(R"(^[1-9](\.[0-9]+)?E\+([0-9]+)$)");

        long long exact = 2;
        int plainRounds = 0, lastExponent = 0;
        for (int round = 1; round <= 320; ++round) {
            amplify.open();
            panel.denominator(Down);
            const QString base = amplify.baseDenominatorText();
            QCOMPARE(panel.fraction(), "10/" + base);
            QCOMPARE(panel.wholeUnits(), 0.0);
            if (exact > 0 && exact * 10 < (1LL << 53)) {
                exact = exact * 10 - 1;
                QCOMPARE(base, QString::number(exact));
                ++plainRounds;
                continue;
            }
            exact = 0;
            const auto match = exponentForm.match(base);
            QVERIFY2(match.hasMatch(), qPrintable(base));
            const int exponent = match.captured(2).toInt();
            if (lastExponent > 0 && lastExponent < 308) QCOMPARE(exponent, lastExponent + 1);
            lastExponent = exponent;
            if (round >= 308) QCOMPARE(base, largest);
        }
        QCOMPARE(plainRounds, 15);
        QCOMPARE(amplify.denominators(), QStringList({largest, "10", largest + " X 10", largest}));
        amplify.baseDenominator(Down);
        QCOMPARE(panel.fraction(), "10/" + largest);
    }
};

QTEST_MAIN(TestAmplify)
#include "test_amplify.moc"
