// "Amplificar": the base fraction times m/m, and the fraction panel below it.
#include <QRegularExpression>
#include <QTest>
#include <cfloat>

#include "controls/numbers.h"
#include "fraction_panel.h"

using namespace rc::testing;

namespace {
// Label<name>(0..3) as the pupil reads them: base, multiplier, working, result.
QStringList row(App& app, const char* name) {
    QStringList texts;
    for (int i = 0; i <= 3; ++i)
        texts << app.label(QStringLiteral("%1(%2)").arg(name).arg(i)).Caption();
    return texts;
}
}  // namespace

class TestAmplify : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    // Design captions until the first menu click; then 1/2 x 1, and 1/2 x 3.
    void workedExamples() {
        App app;
        QCOMPARE(row(app, "Label4"), QStringList({"1", "1", "1", "1"}));
        QCOMPARE(row(app, "Label5"), QStringList({"2", "1", "1", "1"}));
        app.click("Command1(1)");
        QCOMPARE(row(app, "Label4"), QStringList({"1", "1", "1 X 1", "1"}));
        QCOMPARE(row(app, "Label5"), QStringList({"2", "1", "2 X 1", "2"}));
        QCOMPARE(panel(app), "1/2");

        app.click("Command6(2)");
        QCOMPARE(app.form().state().MultiplierIndex, 2);
        QCOMPARE(row(app, "Label4"), QStringList({"1", "3", "1 X 3", "3"}));
        QCOMPARE(row(app, "Label5"), QStringList({"2", "3", "2 X 3", "6"}));
        QCOMPARE(panel(app), "3/6");
        QCOMPARE(blueSectors(app), 3);
        QCOMPARE(whiteSectors(app), 3);

        // The same button again draws afresh over a spoilt picture.
        app.picture("Picture2").surface().clear(rc::RGB(1, 2, 3));
        app.click("Command6(2)");
        QCOMPARE(row(app, "Label5"), QStringList({"2", "3", "2 X 3", "6"}));
        QCOMPARE(blueSectors(app), 3);
        QCOMPARE(whiteSectors(app), 3);
    }

    // a runs from 0 to 200 and b from 2 to 200; refused presses change nothing.
    void baseLimits() {
        App app;
        app.click("Command1(1)");
        app.click("Command6(3)");  // X 4
        clickTimes(app, "Command7(1)", 2);
        QCOMPARE(row(app, "Label4"), QStringList({"0", "4", "0 X 4", "0"}));
        QCOMPARE(panel(app), "0/8");
        QCOMPARE(blueSectors(app), 0);
        QCOMPARE(whiteSectors(app), 8);
        app.click("Command8(1)");
        QCOMPARE(app.label("Label5(0)").Caption(), "2");

        clickTimes(app, "Command7(0)", 201);
        clickTimes(app, "Command8(0)", 199);
        QCOMPARE(panel(app), "800/800");
        clickTimes(app, "Command8(1)", 198);
        app.click("Command6(9)");
        QCOMPARE(row(app, "Label4"), QStringList({"200", "10", "200 X 10", "2000"}));
        QCOMPARE(row(app, "Label5"), QStringList({"2", "10", "2 X 10", "20"}));
        QCOMPARE(panel(app), "2000/20");
        QCOMPARE(app.form().state().WholeUnits2, 100.0);
        // 100 whole circles: the panel may not grow any further.
        app.click("Command4(0)");
        app.click("Command5(1)");
        QCOMPARE(panel(app), "2000/20");
    }

    // 1/20 x 10: the panel's denominator moves the base denominator but not the working,
    // which the next menu click recomputes from it, past 200.
    void panelDenominator() {
        App app;
        app.click("Command1(1)");
        clickTimes(app, "Command8(0)", 18);
        app.click("Command6(9)");
        QCOMPARE(panel(app), "10/200");
        app.click("Command5(0)");  // refused: 200 is not below 150
        QCOMPARE(panel(app), "10/200");
        app.click("Command5(1)");
        QCOMPARE(panel(app), "10/199");
        QCOMPARE(row(app, "Label5"), QStringList({"199", "10", "20 X 10", "200"}));

        app.click("Command1(1)");
        app.click("Command5(1)");
        app.click("Command8(0)");  // refused: 1989 is past 200
        app.click("Command8(1)");
        QCOMPARE(row(app, "Label5"), QStringList({"1988", "10", "1988 X 10", "19880"}));

        App fresh;
        fresh.click("Command1(1)");
        clickTimes(fresh, "Command5(0)", 150);
        QCOMPARE(panel(fresh), "1/150");
        QCOMPARE(row(fresh, "Label5"), QStringList({"150", "1", "2 X 1", "2"}));
    }

    // The panel's numerator stops at 16 whole circles, and so does its denominator's "--".
    void sixteenCircles() {
        App app;
        app.click("Command1(1)");
        app.click("Command8(0)");  // 1/3
        clickTimes(app, "Command4(0)", 60);
        QCOMPARE(panel(app), "48/3");
        QCOMPARE(app.form().state().WholeUnits2, 16.0);
        QCOMPARE(blueSectors(app), 48);
        app.click("Command5(1)");
        QCOMPARE(panel(app), "48/3");

        app.click("Command4(1)");  // 15 whole circles
        app.click("Command5(1)");
        QCOMPARE(panel(app), "47/2");
        QCOMPARE(app.label("Label5(0)").Caption(), "2");
        clickTimes(app, "Command4(1)", 50);
        QCOMPARE(panel(app), "0/2");
        QCOMPARE(app.label("Label4(0)").Caption(), "1");
    }

    // Every menu click followed by the panel's "--" makes the base denominator about ten times
    // larger. Captions stay plain digits while a double holds them exactly, then go to
    // exponent form, one power of ten per round, and stop at the largest double.
    void growingDenominator() {
        App app;
        app.click("Command1(1)");
        app.click("Command6(9)");
        const QString largest = rc::Str(DBL_MAX);
        QCOMPARE(largest, "1.79769313486232E+308");
        const QRegularExpression exponentForm(R"(^[1-9](\.[0-9]+)?E\+([0-9]+)$)");

        long long exact = 2;
        int plainRounds = 0, lastExponent = 0;
        for (int round = 1; round <= 320; ++round) {
            app.click("Command1(1)");
            app.click("Command5(1)");
            const QString base = app.label("Label5(0)").Caption();
            QCOMPARE(panel(app), "10/" + base);
            QCOMPARE(app.form().state().WholeUnits2, 0.0);
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
        QCOMPARE(row(app, "Label5"), QStringList({largest, "10", largest + " X 10", largest}));
        app.click("Command8(1)");
        QCOMPARE(panel(app), "10/" + largest);
    }
};

QTEST_MAIN(TestAmplify)
#include "test_amplify.moc"
