// "Simplificar": the base fraction divided by a prime, the red message, and the hand-over of the
// fraction panel between this lesson, the amplify lesson and the menu.
#include <QTest>

#include "fraction_panel.h"

using namespace rc::testing;

namespace {
constexpr rc::Colour Marker = rc::RGB(1, 2, 3);

QString base(App& app) {
    return app.label("Label6(0)").Caption() + "/" + app.label("Label7(0)").Caption();
}
// The working and the result, "a : p/b : p = c/d"; empty while the steps are hidden.
QString steps(App& app) {
    int shown = 0;
    for (int i = 7; i <= 12; ++i) shown += app.controls().array<rc::Line>("Line1")(i).Visible();
    for (const char* label : {"Label6(1)", "Label7(1)", "Label6(2)", "Label7(2)"})
        shown += app.label(label).Visible();
    if (shown == 0) return {};
    if (shown != 10) return "partly shown";
    return app.label("Label6(1)").Caption() + "/" + app.label("Label7(1)").Caption() + " = " +
           app.label("Label6(2)").Caption() + "/" + app.label("Label7(2)").Caption();
}
bool message(App& app) {
    return app.label("Label3(2)").Visible();
}
// A mark that only a new drawing of the panel's picture wipes out.
void markPicture(App& app) {
    app.picture("Picture2").surface().setPixel(1, 1, Marker);
}
bool redrawn(App& app) {
    return app.picture("Picture2").surface().pixel(1, 1) != Marker;
}
}  // namespace

class TestSimplify : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    // 16/32 by 2 and by 3; the message stays while the base changes, until a division works.
    void divideAndFail() {
        App app;
        app.click("Command1(2)");
        QCOMPARE(steps(app), QString());
        app.click("Command9(0)");
        QCOMPARE(steps(app), "16 : 2/32 : 2 = 8/16");
        QCOMPARE(panel(app), "8/16");
        QCOMPARE(blueSectors(app), 8);
        QCOMPARE(whiteSectors(app), 8);

        markPicture(app);
        app.click("Command9(1)");
        QCOMPARE(steps(app), QString());
        QVERIFY(message(app));
        QCOMPARE(panel(app), "8/16");
        QVERIFY(!redrawn(app));
        QCOMPARE(base(app), "16/32");

        app.click("Command10(0)");
        app.click("Command11(1)");
        QVERIFY(message(app));
        QCOMPARE(panel(app), "17/31");
        QCOMPARE(blueSectors(app), 17);
        app.click("Command11(0)");
        app.click("Command10(1)");
        app.click("Command9(0)");
        QVERIFY(!message(app));
        app.click("Command9(0)");  // the base is unchanged, so is the result
        QCOMPARE(steps(app), "16 : 2/32 : 2 = 8/16");
        app.click("Command10(0)");  // changing the base hides the working
        QCOMPARE(steps(app), QString());
        QCOMPARE(panel(app), "17/32");
    }

    // 0/32 by 2, 17/34 by 17 (and by no other prime), 2/2 by 2: one undivided blue disc.
    void workedExamples() {
        App app;
        app.click("Command1(2)");
        clickTimes(app, "Command10(1)", 16);
        app.click("Command9(0)");
        QCOMPARE(steps(app), "0 : 2/32 : 2 = 0/16");
        QCOMPARE(blueSectors(app), 0);
        QCOMPARE(whiteSectors(app), 16);

        clickTimes(app, "Command10(0)", 17);
        clickTimes(app, "Command11(0)", 2);
        for (int i = 0; i <= 6; ++i) {
            app.click(QStringLiteral("Command9(%1)").arg(i));
            QCOMPARE(message(app), i != 6);
        }
        QCOMPARE(steps(app), "17 : 17/34 : 17 = 1/2");
        QCOMPARE(panel(app), "1/2");

        clickTimes(app, "Command10(1)", 15);
        clickTimes(app, "Command11(1)", 32);
        app.click("Command9(0)");
        QCOMPARE(steps(app), "2 : 2/2 : 2 = 1/1");
        QCOMPARE(app.form().state().WholeUnits2, 1.0);
        QCOMPARE(blueSectors(app), 1);
        QCOMPARE(whiteSectors(app), 0);
    }

    // Refused presses leave the base and the working alone but still put the base into the
    // panel and redraw it.
    void limits() {
        App app;
        app.click("Command1(2)");
        clickTimes(app, "Command10(1)", 16);
        app.click("Command9(0)");
        markPicture(app);
        app.click("Command10(1)");
        QCOMPARE(base(app), "0/32");
        QCOMPARE(panel(app), "0/32");
        QVERIFY(redrawn(app));
        QCOMPARE(steps(app), "0 : 2/32 : 2 = 0/16");

        clickTimes(app, "Command11(1)", 31);
        QCOMPARE(base(app), "0/2");
        clickTimes(app, "Command10(0)", 201);
        clickTimes(app, "Command11(0)", 199);
        QCOMPARE(base(app), "200/200");
        app.click("Command9(2)");
        markPicture(app);
        app.click("Command11(0)");
        QCOMPARE(panel(app), "200/200");
        QVERIFY(redrawn(app));
        QCOMPARE(steps(app), "200 : 5/200 : 5 = 40/40");
    }

    // The panel is shared: each lesson's buttons write it, and every menu click puts the
    // amplify result back. The amplify base buttons clear the simplify message, refused or not.
    void handOver() {
        App app;
        app.click("Command1(1)");
        app.click("Command6(2)");
        app.click("Command1(2)");
        QCOMPARE(panel(app), "3/6");
        app.click("Command9(1)");
        QVERIFY(message(app));
        QCOMPARE(panel(app), "3/6");

        app.click("Command1(1)");
        QVERIFY(message(app));
        app.click("Command8(1)");  // refused: b = 2
        QVERIFY(!message(app));
        app.click("Command1(2)");
        app.click("Command9(1)");
        app.click("Command1(1)");
        app.click("Command7(0)");
        QVERIFY(!message(app));

        // In this lesson the panel's buttons work on the division's result; the panel's
        // denominator then sets the amplify base, which the next menu click uses.
        app.click("Command1(2)");
        app.click("Command9(0)");
        app.click("Command4(0)");
        QCOMPARE(panel(app), "9/16");
        QCOMPARE(blueSectors(app), 9);
        app.click("Command5(0)");
        QCOMPARE(app.label("Label5(0)").Caption(), "17");
        app.click("Command1(0)");  // "Representación gráfica" shows the panel too
        QCOMPARE(panel(app), "6/51");
        QCOMPARE(base(app), "16/32");
        QCOMPARE(steps(app), "16 : 2/32 : 2 = 8/16");

        // From 1/1 the panel's denominator cannot go down; its "+" makes 1/2.
        app.click("Command1(2)");
        clickTimes(app, "Command10(1)", 14);
        clickTimes(app, "Command11(1)", 30);
        app.click("Command9(0)");
        app.click("Command5(1)");
        QCOMPARE(panel(app), "1/1");
        app.click("Command5(0)");
        QCOMPARE(panel(app), "1/2");
        QCOMPARE(app.label("Label5(0)").Caption(), "2");
    }
};

QTEST_MAIN(TestSimplify)
#include "test_simplify.moc"
