// The practice exercises as a pupil meets them: dealt exercises, the number pad, the checks with
// their colours as painted, the locks, and the lines of the results history.
#include <QTest>

#include "pages.h"

using namespace rc::testing;
using rc::RGB;

namespace {
constexpr rc::Colour Green = RGB(0, 255, 0), Red = RGB(255, 0, 0), Teal = RGB(0, 128, 128);
rc::Colour face() {
    return rc::resolved(rc::SystemColour::ButtonFace);
}

// A raw mouse event, as the desktop delivers it, at a point of `widget`.
void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, {});
    QApplication::sendEvent(widget, &event);
}

// A fresh window with the exercise pages.
struct Practice {
    App app;
    ProductPage product{app};
    SimplifyExercisePage simplify{app};
    PadPage pad{app};
    ResultsPage results{app};
};
}  // namespace

class TestPractice : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    // 3/4 X 2/5: judged empty at once, then built up to 6/20; a failed check marks the line.
    void productChecks() {
        Practice on;
        auto& [app, product, simplify, pad, results] = on;
        product.deal(3, 4, 2, 5);
        product.open();
        QCOMPARE(product.fractions(), "3/4 2/5");
        QCOMPARE(product.answer(), "/");
        QVERIFY(product.cross() && !product.dots());
        product.check();
        QCOMPARE(product.verdict(), QList<rc::Colour>({Red, Red, Red}));
        QCOMPARE(app.form().state().HadErrors, -1);

        product.press(0);  // any press clears the verdict
        QCOMPARE(product.verdict(), QList<rc::Colour>({face(), face(), face()}));
        product.press(1);
        product.press(4, 4);
        product.check();
        QCOMPARE(product.answer(), "6/20");
        QCOMPARE(product.verdict(), QList<rc::Colour>({Green, Green, Green}));
        product.check();  // every right check is a line of its own
        QCOMPARE(results.lines(), QStringList(2, "3/4 X 2/5 = 6/20 ** CON ERRORES **"));
        QCOMPARE(app.form().state().HistoryCount, 2);

        product.press(5, 21);  // "-1" has no lower bound
        QCOMPARE(product.answer(), "6/-1");
        product.check();
        QCOMPARE(product.verdict(), QList<rc::Colour>({Green, Red, Red}));
        QCOMPARE(results.lines().size(), 2);
    }

    // Division wants num1·den2 over den1·num2; the choice stays for the next exercise.
    void productDivision() {
        Practice on;
        auto& [app, product, simplify, pad, results] = on;
        product.open();
        product.choose(1);
        QVERIFY(product.dots() && !product.cross());
        product.deal(3, 4, 2, 5);
        product.open();
        QVERIFY(product.dots() && !product.cross());
        QCOMPARE(app.form().state().HadErrors, 0);
        product.press(2);
        QCOMPARE(product.answer(), "-1/");
        product.press(1, 3);
        product.press(0);
        product.press(4);
        product.press(3, 3);
        product.check();
        QCOMPARE(product.answer(), "15/8");
        QCOMPARE(results.lines(), QStringList{"3/4 : 2/5 = 15/8 ** MUY BIEN **"});
        product.choose(0);  // same fractions, now multiplied: 15/8 is wrong
        QCOMPARE(product.fractions(), "3/4 2/5");
        product.check();
        QCOMPARE(product.verdict(), QList<rc::Colour>({Red, Red, Red}));
    }

    // Numerators 1..10 and denominators 3..12, from the ends of the random range.
    void productRanges() {
        Practice on;
        on.app.random.script({0.0, 0.0, 0.999999, 0.999999});
        on.product.open();
        QCOMPARE(on.product.fractions(), "1/3 10/12");
    }

    // The option buttons stand on the form colour, their captions white on it.
    void optionButtonsOnTheFormColour() {
        Practice on;
        on.product.open();
        for (int i = 0; i <= 1; ++i) {
            auto& option = on.app.controls().array<rc::OptionButton>("Option1")(i);
            QCOMPARE(fillShown(option), Teal);
            QVERIFY(showsColour(option, White));
        }
    }

    // 24/36 = 12/18 = 2/3, each number written with the pad.
    void simplifyChain() {
        Practice on;
        auto& [app, product, simplify, pad, results] = on;
        simplify.deal({3, 1, 0, 0, 0}, {2, 2, 0, 0, 0});
        simplify.open();
        QCOMPARE(simplify.fraction(0), "24/36");
        QCOMPARE(simplify.fraction(1), "?/?");
        QVERIFY(!simplify.number(4).Visible() && !simplify.button(1).Visible());
        QCOMPARE(fillShown(simplify.button(0)), White);

        simplify.answer(1, "12", "18");
        QCOMPARE(pad.display(), "18");
        QCOMPARE(simplify.fraction(1), "12/18");
        QVERIFY(showsColour(simplify.number(3), Blue));  // being written
        simplify.check(0);
        for (int label = 0; label <= 3; ++label) {
            QVERIFY(!simplify.number(label).Enabled());
            QVERIFY(showsColour(simplify.number(label), Blue));
        }
        QCOMPARE(fillShown(simplify.button(0)), Blue);
        QVERIFY(!simplify.button(0).Enabled());
        QVERIFY(simplify.number(4).Visible() && simplify.number(5).Visible());
        QVERIFY(simplify.equalsShown(2) && simplify.barShown(2) && simplify.button(1).Visible());
        QVERIFY(!simplify.number(6).Visible() && !simplify.button(2).Visible());
        QVERIFY(results.lines().isEmpty());

        simplify.answer(2, "2", "3");
        simplify.check(1);
        QCOMPARE(results.lines(), QStringList{"24/36 = 12/18 = 2/3 =  * MUY BIEN *"});
        QVERIFY(!results.window()->isVisible());  // written hidden, shown by "HISTORIAL"
        QVERIFY(!simplify.button(1).Enabled() && !simplify.number(5).Enabled());
        QVERIFY(!simplify.button(2).Visible());
    }

    // A first check with nothing written is a refused whole number (and locks F0); 8/4 = 2/1
    // then opens a lone numerator, and 2 there ends the chain, dropped to the bars.
    void simplifyToAWholeNumber() {
        Practice on;
        auto& [app, product, simplify, pad, results] = on;
        simplify.deal({3, 0, 0, 0, 0}, {2, 0, 0, 0, 0});
        simplify.open();
        simplify.check(0);
        QCOMPARE(fillShown(simplify.button(0)), Red);
        QVERIFY(showsColour(simplify.number(2), Red));
        QVERIFY(!simplify.number(0).Enabled() && showsColour(simplify.number(0), Blue));
        QCOMPARE(app.form().state().HadErrors, -1);

        simplify.answer(1, "2", "1");
        simplify.check(0);
        QCOMPARE(fillShown(simplify.button(0)), Blue);
        QVERIFY(simplify.number(4).Visible() && simplify.equalsShown(2));
        QVERIFY(!simplify.number(5).Visible() && !simplify.barShown(2));
        const double top = simplify.number(4).Top();
        simplify.answer(2, "2", {});
        simplify.check(1);
        QCOMPARE(simplify.number(4).Top(), top + 300);
        QVERIFY(!simplify.number(4).Enabled());
        QCOMPARE(results.lines(), QStringList{"8/4 = 2/1 = 2 =  * CON ERRORES *"});

        // A new exercise puts everything back.
        simplify.open();
        QCOMPARE(simplify.number(4).Top(), top);
        QCOMPARE(app.form().state().HadErrors, 0);
        for (int label = 0; label <= 11; ++label) {
            QCOMPARE(simplify.number(label).Enabled(), true);
            QCOMPARE(simplify.number(label).Visible(), label <= 3);
            if (label >= 2) QCOMPARE(simplify.number(label).Caption(), "?");
        }
        QVERIFY(!simplify.button(1).Visible() && simplify.button(0).Enabled());
        QCOMPARE(fillShown(simplify.button(0)), White);
    }

    // F0 is the pupil's to change until the first check: 6/6 only brings a message; 5/7 is red
    // with a message, and its link is judged all the same.
    void simplifyMessages() {
        Practice on;
        auto& [app, product, simplify, pad, results] = on;
        simplify.open();
        simplify.answer(0, "6", "6");
        simplify.check(0);
        QCOMPARE(app.messages.shown,
                 QStringList{"Numerador y denominador han de tener distinto número"});
        QCOMPARE(fillShown(simplify.button(0)), White);
        QCOMPARE(app.form().state().HadErrors, 0);

        simplify.answer(0, "5", "7");
        simplify.answer(1, "10", "14");
        simplify.check(0);
        QCOMPARE(app.messages.shown.last(), "Esta fracción no se puede simplificar");
        QVERIFY(showsColour(simplify.number(0), Red) && simplify.number(0).Enabled());
        QCOMPARE(fillShown(simplify.button(0)), Blue);  // 10/14 equals it and can be simplified
    }

    // Five accepted links that can still be simplified end the exercise without a line.
    void fiveLinksAndNoLine() {
        Practice on;
        auto& [app, product, simplify, pad, results] = on;
        simplify.open();
        simplify.answer(0, "64", "128");
        for (int k = 0; k <= 4; ++k) {
            simplify.answer(k + 1, QString::number(32 >> k), QString::number(64 >> k));
            simplify.check(k);
            QVERIFY(!simplify.button(k).Enabled());
        }
        QCOMPARE(simplify.fraction(5), "2/4");
        QCOMPARE(app.form().state().HistoryCount, 0);
        QVERIFY(!results.window());
    }

    // The pad: five digits at most by typing, steps without limit, negative numbers, "BORRAR";
    // every key copies the display into the label it was opened for.
    void padKeys() {
        Practice on;
        auto& [app, product, simplify, pad, results] = on;
        simplify.open();
        simplify.write(2, "123456");
        QCOMPARE(pad.display(), "12345");
        QCOMPARE(simplify.number(2).Caption(), "12345");
        simplify.write(2, "9999");
        QCOMPARE(pad.display(), "9999");  // opening clears the display to 0
        pad.type("9");
        pad.type("+10");
        pad.type("5");
        QCOMPARE(pad.display(), "100009");
        simplify.write(3, "-1");
        pad.type("5");
        QCOMPARE(simplify.number(3).Caption(), "-5");
        pad.type("3");
        QCOMPARE(pad.display(), "-47");
        pad.type("B");
        QCOMPARE(simplify.number(3).Caption(), "0");
        QCOMPARE(simplify.number(2).Caption(), "100009");
        // After a negative number the digits go on without limit, as plain digits.
        pad.type("-1");
        pad.type("12345678901234567890");
        QCOMPARE(pad.display(), "-87654321098765432110");  // -10^20 + 12345678901234567890
    }

    // An accepted number stays as accepted: the pad's keys no longer change it, nor the
    // display, until the pupil clicks a number again.
    void lockedNumbersStay() {
        Practice on;
        auto& [app, product, simplify, pad, results] = on;
        simplify.deal({3, 1, 0, 0, 0}, {2, 2, 0, 0, 0});
        simplify.open();
        simplify.answer(1, "12", "18");
        simplify.check(0);
        pad.type("7");
        pad.type("+10");
        pad.type("B");
        QCOMPARE(simplify.fraction(1), "12/18");
        QCOMPARE(pad.display(), "18");
        simplify.write(4, "2");
        QCOMPARE(simplify.number(4).Caption(), "2");
    }

    // The pad moves with its background dragged by any button, the point under the pointer
    // staying under it; a drag from a key does not move it.
    void padDrag() {
        Practice on;
        auto& [app, product, simplify, pad, results] = on;
        simplify.open();
        simplify.write(2, "1");
        rc::Form2& window = pad.window();
        const QPoint grab(20, 10);  // background, left of the display
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            const QPoint before = window.pos();
            mouse(&window, QEvent::MouseMove, grab, Qt::NoButton, {});
            mouse(&window, QEvent::MouseButtonPress, grab, button, button);
            mouse(&window, QEvent::MouseMove, grab + QPoint(30, 12), Qt::NoButton, button);
            QCOMPARE(window.pos(), before + QPoint(30, 12));
            // The pad followed: the pointer is over the grab point again.
            mouse(&window, QEvent::MouseMove, grab, Qt::NoButton, button);
            QCOMPARE(window.pos(), before + QPoint(30, 12));
            mouse(&window, QEvent::MouseButtonRelease, grab, button, {});
        }
        const QPoint after = window.pos();
        QWidget* key = window.Command1(5).widget();
        const QPoint onKey = key->rect().center();
        mouse(key, QEvent::MouseMove, onKey, Qt::NoButton, {});
        mouse(key, QEvent::MouseButtonPress, onKey, Qt::RightButton, Qt::RightButton);
        mouse(key, QEvent::MouseMove, onKey + QPoint(40, 0), Qt::NoButton, Qt::RightButton);
        mouse(key, QEvent::MouseButtonRelease, onKey + QPoint(40, 0), Qt::RightButton, {});
        QCOMPARE(window.pos(), after);
    }

    // The history keeps counting past 32767 lines; lines go to the bottom of an open window.
    void historyBeyond16Bits() {
        Practice on;
        auto& [app, product, simplify, pad, results] = on;
        results.open();
        app.form().state().HistoryCount = 32767;
        product.deal(1, 3, 1, 3);
        product.open();
        product.press(0);
        product.check();  // 1/ is wrong
        product.press(4);
        product.press(3, 4);
        product.check();
        QCOMPARE(results.lines(), QStringList{"1/3 X 1/3 = 1/9 ** CON ERRORES **"});
        product.check();
        QCOMPARE(app.form().state().HistoryCount, 32769);
        QCOMPARE(results.lines().size(), 2);
    }
};

QTEST_MAIN(TestPractice)
#include "test_practice.moc"
