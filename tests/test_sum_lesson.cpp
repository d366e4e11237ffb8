// "Suma y resta": A and B brought to a common denominator with the arrows, the result judged,
// and the two pies.
#include <QTest>

#include "pages.h"

using namespace rc::testing;
using rc::RGB;

namespace {
constexpr rc::Colour Teal = RGB(0, 192, 192), Magenta = RGB(192, 0, 192), Green = RGB(0, 255, 0),
                     Red = RGB(255, 0, 0);

struct Lesson {
    App app;
    SumLessonPage sum{app};
};

// How many pixels of `colour` the left and the right half of Picture2 hold.
std::pair<int, int> pixelsOf(App& app, rc::Colour colour) {
    const QImage& image = app.picture("Picture2").surface().image();
    const QRgb wanted = rc::toQColor(colour).rgb();
    int left = 0, right = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) | 0xFF000000u) == wanted)
                ++(x < image.width() / 2 ? left : right);
    return {left, right};
}
}  // namespace

class TestSumLesson : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    // 1/2 - 1/3: A′ = 3/6 with " X 3" on its arrows, B′ = 2/6; the pies turn blue together
    // when the denominators meet; 1/6 is right, and "Muy bien" comes after every click that
    // leaves both numbers right.
    void workedExample() {
        Lesson on;
        auto& [app, sum] = on;
        sum.deal(1, 2, 1, 3);
        sum.open();
        QCOMPARE(sum.given(), "1/2 - 1/3");
        QCOMPARE(sum.equivalents(), "1/2 - 1/3");
        QVERIFY(!sum.resultShown());
        QCOMPARE(sum.arrows(0), QString());
        QCOMPARE(sum.arrows(1), QString());
        QVERIFY(pixelsOf(app, Teal).first > 0 && pixelsOf(app, Teal).second == 0);
        QVERIFY(pixelsOf(app, Magenta).first == 0 && pixelsOf(app, Magenta).second > 0);

        sum.amplifyA(2);
        QCOMPARE(sum.equivalents(), "3/6 - 1/3");
        QCOMPARE(sum.arrows(0), " X 3| X 3");
        sum.amplifyB();
        QCOMPARE(sum.equivalents(), "3/6 - 2/6");
        QCOMPARE(sum.arrows(0), QString());
        QCOMPARE(sum.arrows(1), " X 2| X 2");
        QVERIFY(sum.resultShown());
        QCOMPARE(pixelsOf(app, Teal), std::make_pair(0, 0));
        QCOMPARE(pixelsOf(app, Magenta), std::make_pair(0, 0));
        QCOMPARE(sectorRegions(app.picture("Picture2").surface()).count(Blue), 5);
        QCOMPARE(fillShown(sum.button(2)), Green);

        sum.press(2);
        QCOMPARE(fillShown(sum.button(2)), Blue);
        sum.press(6);  // denominator +5
        QCOMPARE(fillShown(sum.button(3)), Red);
        QVERIFY(app.messages.shown.isEmpty());
        sum.press(3);
        QCOMPARE(sum.result(), "1/6");
        QCOMPARE(app.messages.shown, QStringList{"Muy bien"});
        sum.press(4);  // 6: wrong
        QCOMPARE(fillShown(sum.button(2)), Red);
        sum.press(5, 5);
        QCOMPARE(sum.result(), "1/6");
        QCOMPARE(app.messages.shown.size(), 2);

        // A step back empties the result and hides it again; at factor 1 it changes nothing.
        sum.backB();
        QCOMPARE(sum.equivalents(), "3/6 - 1/3");
        QVERIFY(!sum.resultShown());
        QCOMPARE(sum.result(), "/");
        sum.backB();
        QCOMPARE(sum.equivalents(), "3/6 - 1/3");
        QCOMPARE(sum.arrows(1), " X 1| X 1");
        QVERIFY(pixelsOf(app, Teal).first > 0);
    }

    // The operator: B smaller than A is subtracted; equal values are added.
    void operators_data() {
        QTest::addColumn<QList<int>>("fractions");
        QTest::addColumn<QString>("given");
        QTest::newRow("B smaller: minus") << QList<int>{1, 2, 1, 3} << "1/2 - 1/3";
        QTest::newRow("B larger: plus") << QList<int>{1, 3, 1, 2} << "1/3 + 1/2";
        QTest::newRow("equal values written apart: plus") << QList<int>{1, 2, 2, 4} << "1/2 + 2/4";
        QTest::newRow("whole fractions: plus") << QList<int>{5, 5, 12, 12} << "5/5 + 12/12";
    }
    void operators() {
        QFETCH(QList<int>, fractions);
        Lesson on;
        on.sum.deal(fractions[0], fractions[1], fractions[2], fractions[3]);
        on.sum.open();
        QTEST(on.sum.given(), "given");
        QCOMPARE(on.sum.equivalents(), on.sum.given());
    }

    // Equal denominators from the start: the result and both blue pies at once; 3/7 - 2/7 = 1/7.
    void sameDenominatorsAtOnce() {
        Lesson on;
        auto& [app, sum] = on;
        sum.deal(3, 7, 2, 7);
        sum.open();
        QVERIFY(sum.resultShown());
        QCOMPARE(sectorRegions(app.picture("Picture2").surface()).count(Blue), 5);
        sum.press(2);
        sum.press(3);
        sum.press(6);
        sum.press(3);
        QCOMPARE(sum.result(), "1/7");
        QCOMPARE(app.messages.shown, QStringList{"Muy bien"});
        // A larger common denominator is right too: 6/14 - 4/14 = 2/14.
        sum.amplifyA();
        sum.amplifyB();
        QCOMPARE(sum.equivalents(), "6/14 - 4/14");
        sum.press(2, 2);
        sum.press(6, 2);
        sum.press(3, 4);
        QCOMPARE(sum.result(), "2/14");
        QCOMPARE(app.messages.shown.size(), 2);
        sum.press(7);  // "-1" on 14
        QCOMPARE(fillShown(sum.button(3)), Red);
    }

    // Every menu click deals afresh; "-1" on an unset number gives -1.
    void freshLesson() {
        Lesson on;
        auto& [app, sum] = on;
        sum.deal(1, 4, 3, 4);
        sum.open();
        sum.press(5);
        QCOMPARE(sum.result(), "-1/");
        QCOMPARE(fillShown(sum.button(2)), Red);
        sum.amplifyA(3);
        sum.deal(2, 5, 1, 6);
        sum.open();
        QCOMPARE(sum.equivalents(), "2/5 - 1/6");
        QCOMPARE(sum.arrows(0), QString());
        QVERIFY(!sum.resultShown());
    }
};

QTEST_MAIN(TestSumLesson)
#include "test_sum_lesson.moc"
