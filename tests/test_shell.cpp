// Start-up, the section menu, the results window's life and the end of the program.
#include <QAccessible>
#include <QTest>

#include "controls/numbers.h"
#include "practice/number_pad.h"
#include "results/results_history.h"
#include "shell/menu.h"
#include "testkit.h"

using rc::testing::App;

namespace {
constexpr rc::Colour Green = rc::RGB(0, 255, 0);
constexpr rc::Colour White = rc::RGB(255, 255, 255);

int greenMenuButtons(App& app, int* which = nullptr) {
    int count = 0;
    for (int i = 0; i <= 8; ++i) {
        if (app.button(QStringLiteral("Command1(%1)").arg(i)).BackColor() == Green) {
            ++count;
            if (which) *which = i;
        }
    }
    return count;
}

QList<int> visibleSectionFrames(App& app) {
    QList<int> shown;
    for (int i = 0; i <= 8; ++i)
        if (app.frame(QStringLiteral("Frame1(%1)").arg(i)).Visible()) shown << i;
    return shown;
}
}  // namespace

class TestShell : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { rc::testing::prepareApplication(); }

    void startUp() {
        App app;
        auto& state = app.form().state();
        QCOMPARE(state.CurrentSection, 7);
        QCOMPARE(state.MultiplierIndex, 0);
        QCOMPARE(state.HadErrors, 0);
        QCOMPARE(state.HistoryCount, 0);
        QCOMPARE(app.random.randomizeCalls, 1);
        int green = -1;
        QCOMPARE(greenMenuButtons(app, &green), 1);
        QCOMPARE(green, 7);
        for (int i = 0; i <= 8; ++i)
            if (i != 7)
                QCOMPARE(app.button(QStringLiteral("Command1(%1)").arg(i)).BackColor(), White);
        QCOMPARE(visibleSectionFrames(app), QList<int>{7});
        QCOMPARE(app.label("Label21").Caption(), state.HelpTexts[7]);
        QVERIFY(app.label("Label21").Caption().startsWith("Mejora tus conocimientos"));
        const std::array<std::uint8_t, 21> primes = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29};
        QCOMPARE(state.Primes, primes);
        QVERIFY(state.HelpTexts[9].isEmpty() && state.HelpTexts[10].isEmpty());
        QVERIFY(
            app.label("Label3(2)").Caption().startsWith("Esta fracción no puede simplificarse"));
        QVERIFY(!app.label("Label3(2)").Visible());
        QVERIFY(app.picture("Picture1").AutoRedraw() && app.picture("Picture2").AutoRedraw());
        // Title and presentation panel name the same contact address.
        QVERIFY(app.form().windowTitle().startsWith("Ruedecitas 1.1 - "));
        QVERIFY(app.form().windowTitle().endsWith(app.label("Label18(4)").Caption()));
        QVERIFY(app.label("Label18(4)").Caption().endsWith("@example.org"));
        QVERIFY(!app.form().windowIcon().isNull());
        QVERIFY(app.form().windowIcon().availableSizes().contains(QSize(32, 32)));
    }

    // The texts as a pupil reads them, odd characters kept; division taught as it is judged.
    void helpTexts() {
        App app;
        const auto& t = app.form().state().HelpTexts;
        QVERIFY(t[2].endsWith(QStringLiteral("número.\"")));
        QVERIFY(t[3].endsWith(QStringLiteral("numeradores")));
        QVERIFY(t[4].endsWith(QStringLiteral("ellos. ")));
        QVERIFY(t[8].endsWith(QStringLiteral("seleccionado. ")));
        QVERIFY(t[8].contains(QStringLiteral("respresenta")));
        QVERIFY(t[6].endsWith(QStringLiteral("el denominador1 X el numerador2.")));
        for (int i = 0; i <= 8; ++i) QVERIFY(!t[i].isEmpty());
    }

    void menuTable_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("picture1");
        QTest::addColumn<bool>("picture2");
        QTest::addColumn<bool>("frame2");
        QTest::addColumn<bool>("frame3");
        QTest::newRow("0 Representación gráfica") << 0 << true << true << true << true;
        QTest::newRow("1 Amplificar") << 1 << false << true << false << true;
        QTest::newRow("2 Simplificar") << 2 << false << true << false << true;
        QTest::newRow("3 Suma y resta") << 3 << false << true << false << false;
        for (int i = 4; i <= 8; ++i)
            QTest::newRow(qPrintable(QString::number(i))) << i << false << false << false << false;
    }
    // A real click on each menu button, from every section to every other.
    void menuTable() {
        QFETCH(int, index);
        QFETCH(bool, picture1);
        QFETCH(bool, picture2);
        QFETCH(bool, frame2);
        QFETCH(bool, frame3);
        for (int from = 0; from <= 8; ++from) {
            App app;
            app.click(QStringLiteral("Command1(%1)").arg(from));
            app.form().state().HadErrors = -1;
            app.click(QStringLiteral("Command1(%1)").arg(index));
            auto& state = app.form().state();
            QCOMPARE(state.CurrentSection, index);
            QCOMPARE(state.HadErrors, 0);
            int green = -1;
            QCOMPARE(greenMenuButtons(app, &green), 1);
            QCOMPARE(green, index);
            QCOMPARE(visibleSectionFrames(app), QList<int>{index});
            QCOMPARE(app.label("Label21").Caption(), state.HelpTexts[index]);
            QCOMPARE(app.picture("Picture1").Visible(), picture1);
            QCOMPARE(app.picture("Picture2").Visible(), picture2);
            QCOMPARE(app.frame("Frame2").Visible(), frame2);
            QCOMPARE(app.frame("Frame3").Visible(), frame3);
            // What is on screen: the section frame and its contents really show.
            QVERIFY(app.frame(QStringLiteral("Frame1(%1)").arg(index)).widget()->isVisible());
        }
    }

    // "Inicio" shows the numerator/denominator panel and nothing of the lessons.
    void inicio() {
        App app;
        app.click("Command1(8)");
        QVERIFY(app.frame("Frame11").widget()->isVisible());
        QCOMPARE(app.label("Label19(0)").Caption(), QStringLiteral("3"));
        QCOMPARE(app.label("Label19(1)").Caption(), QStringLiteral("5"));
        QCOMPARE(app.label("Label21").Caption(), app.form().state().HelpTexts[8]);
    }

    // The same button again keeps it green, shows its section again and clears HadErrors.
    void sameButtonAgain() {
        App app;
        app.click("Command1(4)");
        app.form().state().HadErrors = -1;
        app.click("Command1(4)");
        QCOMPARE(app.button("Command1(4)").BackColor(), Green);
        QCOMPARE(greenMenuButtons(app), 1);
        QCOMPARE(visibleSectionFrames(app), QList<int>{4});
        QCOMPARE(app.form().state().HadErrors, 0);
    }

    void resultsWindowLifecycle() {
        App app;
        QVERIFY(!app.form().results().window());
        app.click("Command20");
        QPointer<rc::Form3> first = app.form().results().window();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->windowTitle(), QStringLiteral("TUS RESULTADOS"));
        QVERIFY(!first->parentWidget());  // no owner: the main window stays usable
        QVERIFY(!first->isModal());
        QCOMPARE(first->List1.ListCount(), 0);
        first->List1.AddItem("una línea");
        app.click("Command20");
        QCOMPARE(app.form().results().window(), first.data());
        QCOMPARE(first->List1.ListCount(), 1);
        // Closing it unloads it, lines and all; the next click makes a new, empty one.
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);
        QVERIFY(!app.form().results().window());
        app.click("Command20");
        QVERIFY(app.form().results().window());
        QCOMPARE(app.form().results().window()->List1.ListCount(), 0);
        QCOMPARE(app.endRequests, 0);
    }

    // The results window lands over the section area: centred across, 500 twips lower than
    // centred, counted with its outer size.
    void resultsWindowPlacement() {
        App app({1024, 768, 96});
        app.click("Command20");
        rc::Form3* window = app.form().results().window();
        const auto& area = app.frame("Frame1(0)");
        const double dx = double(rc::halved(area.Width() - window->Width()));
        const double dy = double(rc::halved(area.Height() - window->Height()));
        QVERIFY(std::fabs(window->Left() - (area.Left() + dx)) <= 15);
        QVERIFY(std::fabs(window->Top() - (area.Top() + 500 + dy)) <= 15);
        QCOMPARE(window->List1.widget()->geometry(), QRect(16, 16, 617, 364));
    }

    // A judged line loads the results window hidden, placed, and goes at HistoryCount; after
    // the pupil closed the window the next line starts the new list.
    void resultsLines() {
        App app;
        rc::ResultsLog& log = app.form().results();
        log.writeLine("3/4 * MUY BIEN *");
        rc::Form3* window = app.form().results().window();
        QVERIFY(window);
        QVERIFY(!window->isVisible());
        // 800 x 600: the area is 10075 x 7110 at 1845,890; offscreen, the desktop's frame adds
        // 2 pixels a side, so the window is 9780 x 6000 outside.
        QVERIFY(std::fabs(window->Left() - (1845 + 147)) <= 15);
        QVERIFY(std::fabs(window->Top() - (890 + 500 + 555)) <= 15);
        log.writeLine("1/2 ** CON ERRORES **");
        QCOMPARE(app.form().state().HistoryCount, 2);
        app.click("Command20");
        QCOMPARE(window->List1.ListCount(), 2);
        QCOMPARE(window->List1.List(1), "1/2 ** CON ERRORES **");
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        log.writeLine("5/6 *** MUY BIEN ***");
        window = app.form().results().window();
        QVERIFY(window && !window->isVisible());
        QCOMPARE(window->List1.ListCount(), 1);
        QCOMPARE(window->List1.List(0), "5/6 *** MUY BIEN ***");
        QCOMPARE(app.form().state().HistoryCount, 3);
    }

    // An exercise number opens the pad under the simplify exercise, once placed; every opening
    // shows it, clears its display and points it at the clicked label.
    void numberPadOpens() {
        App app;
        rc::NumberPad& pad = app.form().numberPad();
        QVERIFY(!pad.window());
        pad.openFor(5);
        rc::Form2* window = pad.window();
        QVERIFY(window && window->isVisible());
        QCOMPARE(app.form().module1().EditedLabel, 5);
        QCOMPARE(window->Label1.Caption(), "0");
        QCOMPARE(window->Command1(7).Caption(), "7");
        // 800 x 600: Frame1(0) at 1845,890; Frame9 at 410,200, 2655 high.
        QVERIFY(std::fabs(window->Left() - 2255) <= 15);
        QVERIFY(std::fabs(window->Top() - 3745) <= 15);
        window->Label1.setCaption("42");
        window->moveTo(3000, 3000);
        pad.openFor(2);
        QCOMPARE(pad.window(), window);
        QCOMPARE(window->Label1.Caption(), "0");
        QCOMPARE(app.form().module1().EditedLabel, 2);
        QVERIFY(std::fabs(window->Left() - 3000) <= 15);
    }

    // Closing the main window ends the program, whatever else is open.
    void closingTheMainWindowEndsEverything() {
        App app;
        app.click("Command20");
        QPointer<rc::Form3> results = app.form().results().window();
        app.form().numberPad().openFor(3);
        QPointer<rc::Form2> pad = app.form().numberPad().window();
        QVERIFY(results && pad);
        app.form().close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(app.endRequests, 1);
        QVERIFY(!results);
        QVERIFY(!pad);
        QVERIFY(!app.form().isVisible());
    }

    // A screen reader meets each control by what it shows.
    void accessibleNames() {
        App app;
        auto name = [](QWidget* w) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            return a ? a->text(QAccessible::Name) : QString();
        };
        QCOMPARE(name(app.button("Command1(7)").widget()), QStringLiteral("PRESENTACIÓN"));
        QCOMPARE(name(app.button("Command20").widget()), QStringLiteral("HISTORIAL"));
        QCOMPARE(name(app.label("Label19(0)").widget()), QStringLiteral("3"));
        QCOMPARE(name(app.label("Label21").widget()), app.form().state().HelpTexts[7]);
        QVERIFY(!name(app.picture("Picture1").widget()).isEmpty());
        QVERIFY(!name(app.picture("Picture2").widget()).isEmpty());
        auto& lists = app.controls().array<rc::ListBox>("List1");
        QVERIFY(!name(lists(0).widget()).isEmpty());
        QCOMPARE(name(app.controls().array<rc::OptionButton>("Option1")(1).widget()),
                 QStringLiteral("División de fracciones"));
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
