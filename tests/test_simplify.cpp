// "Simplificar": the base fraction divided by a prime, the red message, and the hand-over of the
// fraction panel between this lesson, the amplify lesson and the menu.
#include <QTest>

#include "pages.h"

using namespace rc::testing;

class TestSimplify : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    // 16/32 by 2 and by 3; the message stays while the base changes, until a division works.
    void divideAndFail() {
        Lessons on;
        auto& [app, panel, representation, amplify, simplify] = on;
        simplify.open();
        QCOMPARE(simplify.steps(), QString());
        simplify.divideBy(0);
        QCOMPARE(simplify.steps(), "16 : 2/32 : 2 = 8/16");
        QCOMPARE(panel.fraction(), "8/16");
        QCOMPARE(panel.blue(), 8);
        QCOMPARE(panel.white(), 8);

        panel.stain();
        simplify.divideBy(1);
        QCOMPARE(simplify.steps(), QString());
        QVERIFY(simplify.message());
        QCOMPARE(panel.fraction(), "8/16");
        QVERIFY(panel.stained());
        QCOMPARE(simplify.base(), "16/32");

        simplify.baseNumerator(Up);
        simplify.baseDenominator(Down);
        QVERIFY(simplify.message());
        QCOMPARE(panel.fraction(), "17/31");
        QCOMPARE(panel.blue(), 17);
        simplify.baseDenominator(Up);
        simplify.baseNumerator(Down);
        simplify.divideBy(0);
        QVERIFY(!simplify.message());
        simplify.divideBy(0);  // the base is unchanged, so is the result
        QCOMPARE(simplify.steps(), "16 : 2/32 : 2 = 8/16");
        simplify.baseNumerator(Up);  // changing the base hides the working
        QCOMPARE(simplify.steps(), QString());
        QCOMPARE(panel.fraction(), "17/32");
    }

    // 0/32 by 2, 17/34 by 17 (and by no other prime), 2/2 by 2: one undivided blue disc.
    void workedExamples() {
        Lessons on;
        auto& [app, panel, representation, amplify, simplify] = on;
        simplify.open();
        simplify.baseNumerator(Down, 16);
        simplify.divideBy(0);
        QCOMPARE(simplify.steps(), "0 : 2/32 : 2 = 0/16");
        QCOMPARE(panel.blue(), 0);
        QCOMPARE(panel.white(), 16);

        simplify.baseNumerator(Up, 17);
        simplify.baseDenominator(Up, 2);
        for (int i = 0; i <= 6; ++i) {
            simplify.divideBy(i);
            QCOMPARE(simplify.message(), i != 6);
        }
        QCOMPARE(simplify.steps(), "17 : 17/34 : 17 = 1/2");
        QCOMPARE(panel.fraction(), "1/2");

        simplify.baseNumerator(Down, 15);
        simplify.baseDenominator(Down, 32);
        simplify.divideBy(0);
        QCOMPARE(simplify.steps(), "2 : 2/2 : 2 = 1/1");
        QCOMPARE(panel.wholeUnits(), 1.0);
        QCOMPARE(panel.blue(), 1);
        QCOMPARE(panel.white(), 0);
    }

    // Refused presses leave the base and the working alone but still put the base into the
    // panel and redraw it.
    void limits() {
        Lessons on;
        auto& [app, panel, representation, amplify, simplify] = on;
        simplify.open();
        simplify.baseNumerator(Down, 16);
        simplify.divideBy(0);
        panel.stain();
        simplify.baseNumerator(Down);
        QCOMPARE(simplify.base(), "0/32");
        QCOMPARE(panel.fraction(), "0/32");
        QVERIFY(!panel.stained());
        QCOMPARE(simplify.steps(), "0 : 2/32 : 2 = 0/16");

        simplify.baseDenominator(Down, 31);
        QCOMPARE(simplify.base(), "0/2");
        simplify.baseNumerator(Up, 201);
        simplify.baseDenominator(Up, 199);
        QCOMPARE(simplify.base(), "200/200");
        simplify.divideBy(2);
        panel.stain();
        simplify.baseDenominator(Up);
        QCOMPARE(panel.fraction(), "200/200");
        QVERIFY(!panel.stained());
        QCOMPARE(simplify.steps(), "200 : 5/200 : 5 = 40/40");
    }

    // The panel is shared: each lesson's buttons write it, and every menu click puts the
    // amplify result back. The amplify base buttons clear the simplify message, refused or not.
    void handOver() {
        Lessons on;
        auto& [app, panel, representation, amplify, simplify] = on;
        amplify.open();
        amplify.times(3);
        simplify.open();
        QCOMPARE(panel.fraction(), "3/6");
        simplify.divideBy(1);
        QVERIFY(simplify.message());
        QCOMPARE(panel.fraction(), "3/6");

        amplify.open();
        QVERIFY(simplify.message());
        amplify.baseDenominator(Down);  // refused: b = 2
        QVERIFY(!simplify.message());
        simplify.open();
        simplify.divideBy(1);
        amplify.open();
        amplify.baseNumerator(Up);
        QVERIFY(!simplify.message());

        // In this lesson the panel's buttons work on the division's result; the panel's
        // denominator then sets the amplify base, which the next menu click uses.
        simplify.open();
        simplify.divideBy(0);
        panel.numerator(Up);
        QCOMPARE(panel.fraction(), "9/16");
        QCOMPARE(panel.blue(), 9);
        panel.denominator(Up);
        QCOMPARE(amplify.baseDenominatorText(), "17");
        representation.open();  // "Representación gráfica" shows the panel too
        QCOMPARE(panel.fraction(), "6/51");
        QCOMPARE(simplify.base(), "16/32");
        QCOMPARE(simplify.steps(), "16 : 2/32 : 2 = 8/16");

        // From 1/1 the panel's denominator cannot go down; its "+" makes 1/2.
        simplify.open();
        simplify.baseNumerator(Down, 14);
        simplify.baseDenominator(Down, 30);
        simplify.divideBy(0);
        panel.denominator(Down);
        QCOMPARE(panel.fraction(), "1/1");
        panel.denominator(Up);
        QCOMPARE(panel.fraction(), "1/2");
        QCOMPARE(amplify.baseDenominatorText(), "2");
    }
};

QTEST_MAIN(TestSimplify)
#include "test_simplify.moc"
