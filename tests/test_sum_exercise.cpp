// "SUMA Y RESTA" as a pupil meets it: dealt fractions and their lists of multiples, when
// "COMPROBAR" is there to press, the check with its colours as painted, and the results lines.
#include <QTest>

#include "pages.h"

using namespace rc::testing;
using rc::RGB;

namespace {
constexpr rc::Colour Green = RGB(0, 255, 0), Red = RGB(255, 0, 0);
rc::Colour face() {
    return rc::resolved(rc::SystemColour::ButtonFace);
}

// A fresh window with the exercise and the results.
struct Sums {
    App app;
    SumExercisePage sum{app};
    ResultsPage results{app};
    // Deals n0/d0, n1/d1, n2/d2 and opens the exercise.
    void start(const QList<int>& f) {
        sum.deal(f[0], f[1], f[2], f[3], f[4], f[5]);
        sum.open();
    }
};

QStringList multiples(int d, int count) {
    QStringList all;
    for (int j = 1; j <= count; ++j) all << QString::number(j * d);
    return all;
}
const QList<int> ThreeQuarters = {3, 4, 1, 2, 2, 3};  // 3/4 + 1/2 - 2/3
}  // namespace

class TestSumExercise : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    // Multiples of each denominator below the product of the three plus 30, the product
    // always among them; a new exercise empties the lists before filling them.
    void listsOfMultiples_data() {
        QTest::addColumn<QList<int>>("denominators");
        QTest::addColumn<QList<int>>("counts");
        using L = QList<int>;
        QTest::newRow("4, 2, 3: bound 54") << L{4, 2, 3} << L{13, 26, 17};
        QTest::newRow("11, 11, 11: bound 1361") << L{11, 11, 11} << L{123, 123, 123};
        QTest::newRow("a multiple equal to the bound is left out") << L{2, 3, 5} << L{29, 19, 11};
    }
    void listsOfMultiples() {
        QFETCH(QList<int>, denominators);
        QFETCH(QList<int>, counts);
        Sums on;
        const auto& d = denominators;
        for (int round = 0; round < 2; ++round) {
            on.start({1, d[0], 1, d[1], 1, d[2]});
            for (int i = 0; i <= 2; ++i) {
                QCOMPARE(on.sum.entries(i), multiples(d[i], counts[i]));
                QVERIFY(on.sum.entries(i).contains(QString::number(d[0] * d[1] * d[2])));
                QCOMPARE(on.sum.list(i).ListIndex(), -1);
            }
            on.sum.choose(0, on.sum.entries(0).last());
        }
    }

    // A new exercise: numbers from the ends of the ranges, empty numerators and common
    // denominators, neutral colours, no "COMPROBAR", HadErrors cleared; the working under the
    // lists stays from the last exercise.
    void newExercise() {
        Sums on;
        auto& [app, sum, results] = on;
        app.random.script({0.0, 0.0, 0.999999, 0.999999, 0.0, 0.999999});
        sum.open();
        QCOMPARE(sum.fractions(), "1/2 10/11 1/11");
        sum.chooseInAll("22");
        sum.setAll(11, 20, 2, 33);
        sum.check();
        QCOMPARE(app.form().state().HadErrors, -1);

        on.start(ThreeQuarters);
        QCOMPARE(sum.numerators(), QStringList(4, QString()));
        QCOMPARE(sum.commonDenominators(), QStringList(4, QString()));
        QVERIFY(!sum.checkShown());
        QCOMPARE(app.form().state().HadErrors, 0);
        QCOMPARE(sum.working(0), "2 X 11 = 22");
        QCOMPARE(sum.working(2), "11 X 2 = 22");
        sum.chooseInAll("12");  // "COMPROBAR" comes back neutral
        sum.setAll(9, 6, 8, 7);
        QCOMPARE(sum.colours(), QList<rc::Colour>(5, face()));
    }

    // "COMPROBAR" needs the same multiple in the three lists and all four numerators, in
    // either order; two lists agreeing are not enough.
    void checkAppears() {
        Sums on;
        auto& [app, sum, results] = on;
        on.start(ThreeQuarters);
        sum.setAll(9, 6, 8, 7);
        sum.choose(0, "12");
        sum.choose(1, "12");
        QCOMPARE(sum.commonDenominators(), QStringList(4, QString()));
        sum.plusOne(3);
        QVERIFY(!sum.checkShown());
        sum.choose(2, "12");
        QCOMPARE(sum.commonDenominators(), QStringList(4, "12"));
        QVERIFY(sum.checkShown());
        QCOMPARE(sum.working(0), "4 X 3 = 12");
        QCOMPARE(sum.working(1), "2 X 6 = 12");
        QCOMPARE(sum.working(2), "3 X 4 = 12");

        on.start(ThreeQuarters);
        sum.chooseInAll("24");
        sum.set(0, 18);
        sum.set(1, 12);
        sum.set(2, 16);
        QVERIFY(!sum.checkShown());
        sum.minusOne(3);
        QCOMPARE(sum.numerator(3).Caption(), "-1");  // an unset numerator counts as 0
        QVERIFY(sum.checkShown());
    }

    // Lists that stop agreeing take "COMPROBAR" away with the common denominator, and a
    // counter click does not bring it back; agreeing again on another multiple does, and the
    // check then works with that multiple.
    void disagreementTakesTheCheckAway() {
        Sums on;
        auto& [app, sum, results] = on;
        on.start(ThreeQuarters);
        sum.chooseInAll("12");
        sum.setAll(9, 6, 8, 7);
        QVERIFY(sum.checkShown());
        sum.choose(1, "8");
        QCOMPARE(sum.commonDenominators(), QStringList(4, QString()));
        QCOMPARE(sum.working(1), "2 X 4 = 8");
        QVERIFY(!sum.checkShown());
        sum.plusOne(3);
        sum.minusOne(3);
        QVERIFY(!sum.checkShown());

        sum.chooseInAll("24");
        QCOMPARE(sum.commonDenominators(), QStringList(4, "24"));
        QVERIFY(sum.checkShown());
        sum.check();  // the numerators are still those for 12
        QCOMPARE(sum.colours(), QList<rc::Colour>(5, Red));
        sum.setAll(18, 12, 16, 14);
        sum.check();
        QCOMPARE(results.lines(), QStringList{"3/4 + 1/2 - 2/3 = 14/24 *** CON ERRORES ***"});
    }

    // Right answers: the second operator (a minus unless subtracting would go below zero, in
    // both rows), each numerator against its own list's factor, the result from the factors
    // and the sign shown; a larger common multiple is as good as the least one. Every right
    // check is a line.
    void rightAnswers_data() {
        QTest::addColumn<QList<int>>("fractions");  // n0, d0, n1, d1, n2, d2
        QTest::addColumn<QString>("operators");     // as drawn in both rows
        QTest::addColumn<QString>("multiple");
        QTest::addColumn<QList<int>>("numerators");
        QTest::addColumn<QString>("line");
        using L = QList<int>;
        QTest::newRow("third smaller than the sum: minus")
            << ThreeQuarters << "- -"
            << "12" << L{9, 6, 8, 7} << "3/4 + 1/2 - 2/3 = 7/12 *** MUY BIEN ***";
        QTest::newRow("third larger than the sum: plus twice in the line")
            << L{1, 4, 1, 4, 9, 10} << "+ +"
            << "20" << L{5, 5, 18, 28} << "1/4 + 1/4 + 9/10 = 28/20 *** MUY BIEN ***";
        QTest::newRow("third equal to the sum: minus, and 0")
            << L{1, 2, 1, 4, 3, 4} << "- -"
            << "4" << L{2, 1, 3, 0} << "1/2 + 1/4 - 3/4 = 0/4 *** MUY BIEN ***";
        QTest::newRow("product of the denominators instead of the least multiple")
            << ThreeQuarters << "- -"
            << "24" << L{18, 12, 16, 14} << "3/4 + 1/2 - 2/3 = 14/24 *** MUY BIEN ***";
        QTest::newRow("eleven, eleven, eleven far down the lists")
            << L{10, 11, 10, 11, 1, 11} << "- -"
            << "1331" << L{1210, 1210, 121, 2299}
            << "10/11 + 10/11 - 1/11 = 2299/1331 *** MUY BIEN ***";
    }
    void rightAnswers() {
        QFETCH(QList<int>, fractions);
        QFETCH(QString, multiple);
        QFETCH(QList<int>, numerators);
        QFETCH(QString, line);
        Sums on;
        auto& [app, sum, results] = on;
        on.start(fractions);
        QTEST(sum.secondOperators(), "operators");
        sum.chooseInAll(multiple);
        sum.setAll(numerators[0], numerators[1], numerators[2], numerators[3]);
        sum.check();
        QCOMPARE(sum.colours(), QList<rc::Colour>(5, Green));
        QVERIFY(sum.checkShown());
        sum.check();
        QCOMPARE(results.lines(), QStringList(2, line));
        QCOMPARE(app.form().state().HistoryCount, 2);
        QVERIFY(!results.window()->isVisible());
    }

    // A wrong check marks the wrong numbers red and the exercise: its right answer is recorded
    // "CON ERRORES". A counter click takes the colour off its own number only.
    void wrongThenRight() {
        Sums on;
        auto& [app, sum, results] = on;
        on.start(ThreeQuarters);
        sum.chooseInAll("12");
        sum.setAll(9, 6, 8, 23);  // the sum, where the sign is a minus
        sum.check();
        QCOMPARE(sum.colours(), QList<rc::Colour>({Green, Green, Green, Red, Red}));
        QCOMPARE(app.form().state().HadErrors, -1);
        QVERIFY(results.lines().isEmpty());

        sum.plusOne(0);
        QCOMPARE(sum.colours(), QList<rc::Colour>({face(), Green, Green, Red, Red}));
        sum.check();
        QCOMPARE(sum.colours(), QList<rc::Colour>({Red, Green, Green, Red, Red}));
        sum.set(0, 9);
        sum.set(3, 7);
        sum.check();
        QCOMPARE(sum.colours(), QList<rc::Colour>(5, Green));
        QCOMPARE(results.lines(), QStringList{"3/4 + 1/2 - 2/3 = 7/12 *** CON ERRORES ***"});
    }

    // A pupil finds entries with the keyboard: typing the start of an entry, the arrows, End.
    void keyboardSelection() {
        Sums on;
        auto& [app, sum, results] = on;
        on.start({1, 11, 1, 11, 1, 11});
        sum.type(0, "132");
        QCOMPARE(sum.selected(0), "132");
        QCOMPARE(sum.working(0), "11 X 12 = 132");
        sum.type(1, "13");
        sum.key(1, Qt::Key_Down);
        sum.key(1, Qt::Key_Up);
        QCOMPARE(sum.selected(1), "132");
        sum.key(2, Qt::Key_Down);  // the first entry
        QCOMPARE(sum.working(2), "11 X 1 = 11");
        QCOMPARE(sum.commonDenominators(), QStringList(4, QString()));
        sum.type(2, "132");
        QCOMPARE(sum.commonDenominators(), QStringList(4, "132"));
        sum.setAll(12, 12, 12, 12);
        QVERIFY(sum.checkShown());
        sum.key(2, Qt::Key_Down);
        QCOMPARE(sum.working(2), "11 X 13 = 143");
        QVERIFY(!sum.checkShown());
        sum.key(2, Qt::Key_End);
        QCOMPARE(sum.working(2), "11 X 123 = 1353");
    }
};

QTEST_MAIN(TestSumExercise)
#include "test_sum_exercise.moc"
