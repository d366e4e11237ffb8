// Thousands of real clicks on random visible, enabled controls of the main window, the same
// clicks for the same seed; after each one the invariants a pupil relies on must hold.
#include <QPointer>
#include <QTest>
#include <algorithm>
#include <cfloat>
#include <random>

#include "controls/numbers.h"
#include "practice/number_pad.h"
#include "results/results_history.h"
#include "shell/menu.h"
#include "testkit.h"

using rc::testing::App;

namespace {

// Exactly one green menu button and one section frame shown, both the current section's, with
// its help text and the lessons' shared controls as that section shows them.
void checkMenuInvariants(App& app) {
    const auto& state = app.form().state();
    const int current = state.CurrentSection;
    QVERIFY(current >= 0 && current <= 8);
    for (int i = 0; i <= 8; ++i) {
        const bool green =
            app.button(QStringLiteral("Command1(%1)").arg(i)).BackColor() == rc::SectionMenu::Green;
        QCOMPARE(green, i == current);
        QCOMPARE(app.frame(QStringLiteral("Frame1(%1)").arg(i)).Visible(), i == current);
    }
    QCOMPARE(app.label("Label21").Caption(), state.HelpTexts[std::size_t(current)]);
    if (current != 7) {  // at start the menu has not set them yet
        const auto shown = rc::SectionMenu::sharedControlsOf(current);
        QCOMPARE(app.picture("Picture1").Visible(), shown.picture1);
        QCOMPARE(app.picture("Picture2").Visible(), shown.picture2);
        QCOMPARE(app.frame("Frame2").Visible(), shown.frame2);
        QCOMPARE(app.frame("Frame3").Visible(), shown.frame3);
    }
}

// The amplify and simplify lessons and the fraction panel they share. The base fractions stay
// within their buttons' limits (the amplify denominator only from below: the panel's "--" may
// push it past 200), the panel's denominator never drops below 1, the amplify working always
// shows the chosen multiplier, and the simplify working and the red message are never shown
// together.
void checkAmplifySimplifyInvariants(App& app) {
    auto value = [&](const char* label) { return rc::Val(app.label(label).Caption()); };
    auto plainWhole = [&](const char* label, double low, double high) {
        const QString text = app.label(label).Caption();
        QVERIFY2(rc::Str(rc::Val(text)) == text && rc::Val(text) >= low && rc::Val(text) <= high,
                 qPrintable(QStringLiteral("%1 = %2").arg(label, text)));
    };
    plainWhole("Label4(0)", 0, 200);
    plainWhole("Label6(0)", 0, 200);
    plainWhole("Label7(0)", 2, 200);
    QVERIFY(value("Label5(0)") >= 2 && value("Label5(0)") <= DBL_MAX);
    QVERIFY(value("Label2(0)") >= 0 && value("Label2(1)") >= 1 && value("Label2(1)") <= DBL_MAX);

    const int index = app.form().state().MultiplierIndex;
    QVERIFY(index >= 0 && index <= 9);
    const QString m = QString::number(index + 1);
    QCOMPARE(app.label("Label4(1)").Caption(), m);
    QCOMPARE(app.label("Label5(1)").Caption(), m);
    // Until the first menu click the working keeps its design captions.
    if (app.label("Label4(2)").Caption().contains(" X ")) {
        QCOMPARE(app.label("Label4(2)").Caption(), app.label("Label4(0)").Caption() + " X " + m);
        QCOMPARE(app.label("Label4(3)").Caption(), rc::Str(value("Label4(0)") * (index + 1)));
        // The panel's denominator buttons move Label5(0) without recomputing the working, so
        // the working's own first term is what the result must follow.
        const QString working = app.label("Label5(2)").Caption();
        QVERIFY2(working.endsWith(" X " + m), qPrintable(working));
        const double b = rc::Val(working);
        QCOMPARE(app.label("Label5(3)").Caption(), rc::Str(std::min(b * (index + 1), DBL_MAX)));
    }

    const bool steps = app.label("Label6(1)").Visible();
    for (const char* label : {"Label7(1)", "Label6(2)", "Label7(2)"})
        QCOMPARE(app.label(label).Visible(), steps);
    for (int i = 7; i <= 12; ++i)
        QCOMPARE(app.controls().array<rc::Line>("Line1")(i).Visible(), steps);
    QVERIFY(!(steps && app.label("Label3(2)").Visible()));
}

// Every section adds here what must hold after any click.
// The graphic-representation lesson: the denominator stays in 2..150, the numerator never
// goes below 0, and the picture holds only blue, white, the near-white background and the
// outline colour. The picture is read whole only when the click may have changed it.
void checkRepresentationInvariants(App& app, bool pictureMayHaveChanged) {
    const QString numerator = app.label("Label1(0)").Caption();
    const QString denominator = app.label("Label1(1)").Caption();
    const double k = rc::Val(numerator), n = rc::Val(denominator);
    QVERIFY2(n >= 2 && n <= 150 && n == std::floor(n) && rc::Str(n) == denominator,
             qPrintable("denominator " + denominator));
    QVERIFY2(k >= 0 && k == std::floor(k) && rc::Str(k) == numerator,
             qPrintable("numerator " + numerator));
    if (!pictureMayHaveChanged) return;
    auto& picture = app.picture("Picture1");
    const QImage& image = picture.surface().image();
    const QRgb allowed[] = {qRgb(0, 0, 255), qRgb(255, 255, 255), qRgb(250, 250, 250),
                            rc::toQColor(picture.ForeColor()).rgb()};
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x] | 0xFF000000u;
            if (p != allowed[0] && p != allowed[1] && p != allowed[2] && p != allowed[3])
                QFAIL(qPrintable(
                    QStringLiteral("Picture1 has colour %1 at %2,%3").arg(p, 8, 16).arg(x).arg(y)));
        }
    }
}

// The practice sections, the pad and the results history. `before` is what the walk saw before
// the click.
struct PracticeSnapshot {
    QMap<int, QString> lockedNumbers;  // Label17 elements disabled by an accepted check
    int historyCount = 0;
    QPointer<rc::Form3> resultsWindow;
    int firstLineOfWindow = 0;  // HistoryCount when that results window was loaded
    QString padDisplay;
};

PracticeSnapshot snapshot(App& app, const PracticeSnapshot& last) {
    PracticeSnapshot now;
    auto& Label17 = app.controls().array<rc::Label>("Label17");
    for (int i = 0; i <= 11; ++i)
        if (!Label17(i).Enabled()) now.lockedNumbers[i] = Label17(i).Caption();
    now.historyCount = app.form().state().HistoryCount;
    now.resultsWindow = app.form().results().window();
    if (rc::Form2* pad = app.form().numberPad().window()) now.padDisplay = pad->Label1.Caption();
    now.firstLineOfWindow =
        now.resultsWindow == last.resultsWindow ? last.firstLineOfWindow : last.historyCount;
    return now;
}

void checkPracticeInvariants(App& app, const PracticeSnapshot& before, const QString& clicked,
                             bool productDealt) {
    const auto& state = app.form().state();
    QVERIFY(state.HadErrors == 0 || state.HadErrors == -1);
    // A locked number never changes while it stays locked.
    auto& Label17 = app.controls().array<rc::Label>("Label17");
    for (auto it = before.lockedNumbers.begin(); it != before.lockedNumbers.end(); ++it)
        if (!Label17(it.key()).Enabled()) QCOMPARE(Label17(it.key()).Caption(), it.value());
    for (int i = 0; i <= 3; ++i) QVERIFY(Label17(i).Visible());

    // Only a check writes, one line at a time, with its own kind's marker.
    const int written = state.HistoryCount - before.historyCount;
    const QMap<QString, QStringList> markers = {
        {"Command21", {" * MUY BIEN *", " * CON ERRORES *"}},
        {"Command17", {" *** MUY BIEN ***", " *** CON ERRORES ***"}},
        {"Command19", {" ** MUY BIEN **", " ** CON ERRORES **"}}};
    const QString kind = clicked.section('(', 0, 0);
    QVERIFY2(written == 0 || (written == 1 && markers.contains(kind)), qPrintable(clicked));
    rc::Form3* window = app.form().results().window();
    if (window) {
        const int first =
            window == before.resultsWindow ? before.firstLineOfWindow : before.historyCount;
        QCOMPARE(window->List1.ListCount(), state.HistoryCount - first);
        if (written == 1) {
            const QString line = window->List1.List(window->List1.ListCount() - 1);
            const QStringList& ends = markers[kind];
            QVERIFY2(line.endsWith(ends[state.HadErrors ? 1 : 0]), qPrintable(line));
        }
    }

    // The pad shows what it wrote into its label, unless that label is locked: after every
    // step key and "BORRAR", and every digit it took (a sixth digit is refused).
    if (rc::Form2* pad = app.form().numberPad().window(); pad && clicked.startsWith("Form2.")) {
        const rc::Label& edited = Label17(app.form().module1().EditedLabel);
        const bool keyTaken = clicked.startsWith("Form2.Command2") ||
                              clicked.startsWith("Form2.Command3") ||
                              pad->Label1.Caption() != before.padDisplay;
        if (edited.Enabled() && keyTaken && !clicked.endsWith(" right"))
            QCOMPARE(edited.Caption(), pad->Label1.Caption());
        QVERIFY(!pad->Label1.Caption().contains('E'));
    }

    // The multiply/divide exercise shows the cross or the dots, as the option chosen says.
    auto& Line6 = app.controls().array<rc::Line>("Line6");
    const bool division = app.controls().array<rc::OptionButton>("Option1")(1).Value();
    if (productDealt) {
        QCOMPARE(Line6(5).Visible(), !division);
        QCOMPARE(Line6(6).Visible(), !division);
        QCOMPARE(Line6(7).Visible(), division);
        QCOMPARE(Line6(8).Visible(), division);
    }
}

// The add/subtract lesson: A′ and B′ are A and B amplified by whole factors of at least 1, and
// the result shows exactly when their denominators read the same.
void checkSumLessonInvariants(App& app) {
    auto value = [&](const QString& address) {
        rc::Control* control = app.controls().find(address);
        if (auto* label = dynamic_cast<rc::Label*>(control)) return rc::Val(label->Caption());
        return rc::Val(dynamic_cast<rc::CommandButton*>(control)->Caption());
    };
    for (int i = 0; i <= 1; ++i) {
        const double n = value(QStringLiteral("Label8(%1)").arg(i));
        const double d = value(QStringLiteral("Label9(%1)").arg(i));
        const double denominator = value(QStringLiteral("Command12(%1)").arg(i));
        const double numerator = value(QStringLiteral("Label8(%1)").arg(i + 2));
        if (d == 0) return;  // design captions, before the lesson was first opened
        const double k = denominator / d;
        QVERIFY2(
            k >= 1 && k == std::floor(k) && numerator == k * n,
            qPrintable(
                QStringLiteral("%1/%2 from %3/%4").arg(numerator).arg(denominator).arg(n).arg(d)));
    }
    const bool same = app.button("Command12(0)").Caption() == app.button("Command12(1)").Caption();
    QCOMPARE(app.button("Command12(2)").Visible(), same);
    QCOMPARE(app.controls().array<rc::Line>("Line1")(26).Visible(), same);
}

// "COMPROBAR" of the add/subtract exercise shows only while the three lists agree and the four
// numerators are set.
void checkSumExerciseInvariants(App& app) {
    auto& List1 = app.controls().array<rc::ListBox>("List1");
    QString agreed = List1(0).ListIndex() < 0 ? QString() : List1(0).List(List1(0).ListIndex());
    for (int i = 1; i <= 2; ++i)
        if (List1(i).ListIndex() < 0 || List1(i).List(List1(i).ListIndex()) != agreed)
            agreed.clear();
    bool numbersSet = true;
    for (int i = 0; i <= 3; ++i)
        numbersSet &= !app.button(QStringLiteral("Command14(%1)").arg(i)).Caption().isEmpty();
    if (app.button("Command17").Visible()) QVERIFY(!agreed.isEmpty() && numbersSet);
    QCOMPARE(app.label("Label13(6)").Caption(), agreed);
}

void checkSectionInvariants(App& app, const QString& name, const PracticeSnapshot& before,
                            bool productDealt, bool sumLessonOpened, bool sumExerciseOpened) {
    checkMenuInvariants(app);
    if (QTest::currentTestFailed()) return;
    checkPracticeInvariants(app, before, name, productDealt);
    if (QTest::currentTestFailed()) return;
    checkRepresentationInvariants(
        app, name == "Picture1" || name.startsWith("Command2(") || name.startsWith("Command3("));
    if (QTest::currentTestFailed()) return;
    checkAmplifySimplifyInvariants(app);
    if (QTest::currentTestFailed()) return;
    if (sumLessonOpened) checkSumLessonInvariants(app);
    if (QTest::currentTestFailed()) return;
    if (sumExerciseOpened) checkSumExerciseInvariants(app);
}

// Now and then the pupil knows the answer: it is entered with the same buttons and pad, then
// checked, so that the walk also meets right answers and the lines they write.
void leftClick(rc::Control& control) {
    QTest::mouseClick(control.widget(), Qt::LeftButton, {}, control.widget()->rect().center());
}

// Counts a number button to `target` with its own click (+1), its "+5" and its "-1".
void countTo(App& app, const QString& number, const QString& five, const QString& minusOne,
             double target) {
    for (int guard = 0; guard < 10000; ++guard) {
        const QString caption = app.button(number).Caption();
        const double shown = rc::Val(caption);
        if (shown == target && !caption.isEmpty()) return;
        leftClick(app.button(shown > target ? minusOne : target - shown >= 5 ? five : number));
    }
}

void answerProduct(App& app) {
    auto value = [&](const char* address) { return rc::Val(app.label(address).Caption()); };
    const bool division = app.controls().array<rc::OptionButton>("Option1")(1).Value();
    const double num = value("Label15(0)") * value(division ? "Label16(1)" : "Label15(1)");
    const double den = value("Label16(0)") * value(division ? "Label15(1)" : "Label16(1)");
    countTo(app, "Command18(0)", "Command18(1)", "Command18(2)", num);
    countTo(app, "Command18(3)", "Command18(4)", "Command18(5)", den);
    leftClick(app.button("Command19"));
}

void answerSimplify(App& app) {
    auto& Label17 = app.controls().array<rc::Label>("Label17");
    auto& Command21 = app.controls().array<rc::CommandButton>("Command21");
    int k = 0;
    while (k < 4 && !Command21(k).Enabled() && Command21(k + 1).Visible()) ++k;
    if (!Command21(k).Enabled() || !Command21(k).Visible()) return;  // finished
    const long long a = Label17(2 * k).Caption().toLongLong();
    const long long b = Label17(2 * k + 1).Caption().toLongLong();
    long long p = 0;
    for (long long prime : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29})
        if (a > 0 && b > 0 && a % prime == 0 && b % prime == 0) p = prime;
    if (p == 0) return;
    auto write = [&](int label, long long number) {
        leftClick(Label17(label));
        rc::Form2* pad = app.form().numberPad().window();
        leftClick(pad->Command3);
        for (QChar digit : QString::number(number)) leftClick(pad->Command1(digit.digitValue()));
    };
    write(2 * k + 2, a / p);
    if (Label17(2 * k + 3).Visible()) write(2 * k + 3, b / p);
    leftClick(Command21(k));
}

// The add/subtract exercise: the product of the denominators chosen in the three lists by
// clicks, the right numerators counted up with the buttons, then "COMPROBAR".
void answerSum(App& app) {
    auto value = [&](const QString& address) { return rc::Val(app.label(address).Caption()); };
    double d[3], n[3], product = 1;
    for (int i = 0; i <= 2; ++i) {
        d[i] = value(QStringLiteral("Label13(%1)").arg(i));
        n[i] = value(QStringLiteral("Label12(%1)").arg(i));
        product *= d[i];
    }
    auto& List1 = app.controls().array<rc::ListBox>("List1");
    for (int i = 0; i <= 2; ++i) {
        auto* view = static_cast<QAbstractItemView*>(List1(i).widget());
        const QModelIndex entry = view->model()->index(int(product / d[i]) - 1, 0);
        view->scrollTo(entry);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
    }
    const bool plus = app.controls().array<rc::Line>("Line5")(9).Visible();
    const double k[3] = {product / d[0], product / d[1], product / d[2]};
    const double want[4] = {k[0] * n[0], k[1] * n[1], k[2] * n[2],
                            k[0] * n[0] + k[1] * n[1] + (plus ? 1 : -1) * k[2] * n[2]};
    for (int i = 0; i <= 3; ++i) {
        auto address = [i](const char* name) { return QStringLiteral("%1(%2)").arg(name).arg(i); };
        countTo(app, address("Command14"), address("Command15"), address("Command16"), want[i]);
    }
    leftClick(app.button("Command17"));
}

bool clickable(const rc::Control* control) {
    return dynamic_cast<const rc::CommandButton*>(control) ||
           dynamic_cast<const rc::Label*>(control) ||
           dynamic_cast<const rc::PictureBox*>(control) ||
           dynamic_cast<const rc::OptionButton*>(control) ||
           dynamic_cast<const rc::ListBox*>(control);
}

int clicksFromEnvironment() {
    bool ok = false;
    const int clicks = qEnvironmentVariableIntValue("RUEDECITAS_CLICKS", &ok);
    return ok && clicks > 0 ? clicks : 3000;
}

}  // namespace

class TestRandomClicks : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { rc::testing::prepareApplication(); }

    void randomClicks_data() {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("section");  // -1: the whole program; else never leave it
        QTest::newRow("800x600, seed 1") << 1 << 800 << 600 << -1;
        QTest::newRow("1920x1080, seed 2") << 2 << 1920 << 1080 << -1;
        QTest::newRow("1366x768, seed 3") << 3 << 1366 << 768 << -1;
        QTest::newRow("graphic representation, seed 4") << 4 << 1280 << 800 << 0;
        QTest::newRow("amplify, seed 5") << 5 << 1280 << 800 << 1;
        QTest::newRow("simplify, seed 6") << 6 << 1280 << 800 << 2;
        QTest::newRow("simplify exercise and pad, seed 7") << 7 << 1280 << 800 << 4;
        QTest::newRow("multiply/divide exercise, seed 8") << 8 << 1280 << 800 << 6;
        QTest::newRow("add/subtract lesson, seed 9") << 9 << 1280 << 800 << 3;
        QTest::newRow("add/subtract exercise, seed 10") << 10 << 1280 << 800 << 5;
    }

    void randomClicks() {
        QFETCH(int, seed);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, section);
        // Three quarters of the clicks go to the walks through the whole program.
        const int clicks = clicksFromEnvironment() / (section < 0 ? 4 : 20);
        App app({width, height, 96}, std::uint64_t(seed));
        if (section >= 0) app.click(QStringLiteral("Command1(%1)").arg(section));
        std::mt19937 pick(static_cast<unsigned>(seed));
        // What a pupil can click: the main window's controls, the pad's and the results list,
        // named "Form2.Command1(3)" and so on for the other windows.
        auto candidates = [&] {
            std::vector<std::pair<QString, rc::Control*>> all;
            auto add = [&](const QString& prefix, const rc::Controls& controls) {
                for (rc::Control* control : controls.all())
                    if (clickable(control)) all.emplace_back(prefix + control->name(), control);
            };
            add({}, app.controls());
            if (rc::Form2* pad = app.form().numberPad().window()) add("Form2.", pad->controls());
            if (rc::Form3* results = app.form().results().window())
                add("Form3.", results->controls());
            return all;
        };

        QString last;
        QMap<QString, int> clicksOn;
        PracticeSnapshot before = snapshot(app, {});
        bool productDealt = section == 6;
        bool sumLessonOpened = section == 3, sumExerciseOpened = section == 5;
        for (int n = 0; n < clicks; ++n) {
            // Now and then the pupil closes the results window.
            if (rc::Form3* results = app.form().results().window();
                results && results->isVisible() && pick() % 50 == 0) {
                results->close();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            const int current = app.form().state().CurrentSection;
            if (current >= 4 && current <= 6 && pick() % (section < 0 ? 40 : 12) == 0) {
                if (current == 4) answerSimplify(app);
                if (current == 5) answerSum(app);
                if (current == 6) answerProduct(app);
                QCoreApplication::processEvents();
                ++clicksOn["answered"];
                const char* checks[] = {"Command21", "Command17", "Command19"};
                checkSectionInvariants(app, checks[current - 4], before, productDealt,
                                       sumLessonOpened, sumExerciseOpened);
                if (QTest::currentTestFailed()) QFAIL(qPrintable("after answering, " + last));
                before = snapshot(app, before);
                continue;
            }
            // A control the pupil can reach: shown, enabled, not covered by another.
            rc::Control* target = nullptr;
            QString name;
            QRegion reachable;
            // Half the time the pupil stays in the section and leaves the menu alone.
            const bool stay = section >= 0 || pick() % 2 == 0;
            std::vector<std::pair<QString, rc::Control*>> shown;
            for (const auto& [address, c] : candidates()) {
                // Staying, the pupil may still start the section's own exercise again.
                const bool ownButton = address == QStringLiteral("Command1(%1)").arg(section);
                if (stay && !ownButton &&
                    (address.startsWith("Command1(") || address == "Command20"))
                    continue;
                if (c->widget()->isVisible() && c->widget()->isEnabled())
                    shown.emplace_back(address, c);
            }
            for (int attempt = 0; attempt < 200 && !target && !shown.empty(); ++attempt) {
                const auto& [address, c] = shown[pick() % shown.size()];
                reachable = c->widget()->visibleRegion();
                if (!reachable.isEmpty()) target = c, name = address;
            }
            QVERIFY2(target, "no reachable control");
            const QRect box = reachable.boundingRect();
            QPoint at(box.left() + int(pick() % unsigned(std::max(1, box.width()))),
                      box.top() + int(pick() % unsigned(std::max(1, box.height()))));
            if (!reachable.contains(at)) at = box.center();
            // Mostly the left button; now and then the right one, as pupils do.
            const Qt::MouseButton button = pick() % 10 == 0 ? Qt::RightButton : Qt::LeftButton;
            last = QStringLiteral("click %1: %2 at %3,%4").arg(n).arg(name).arg(at.x()).arg(at.y());
            // The press goes to the widget under the pointer: a list's lines, not its frame.
            QWidget* under = target->widget()->childAt(at);
            if (under)
                QTest::mouseClick(under, button, {}, under->mapFrom(target->widget(), at));
            else
                QTest::mouseClick(target->widget(), button, {}, at);
            // The program returns to its event loop after every click: repaints happen, closed
            // windows go.
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            ++clicksOn[name];
            if (button == Qt::LeftButton) {  // a right click opens nothing
                productDealt |= name == "Command1(6)";
                sumLessonOpened |= name == "Command1(3)";
                sumExerciseOpened |= name == "Command1(5)";
            }
            // A right click presses no button; the invariants are told so.
            checkSectionInvariants(app, button == Qt::LeftButton ? name : name + " right", before,
                                   productDealt, sumLessonOpened, sumExerciseOpened);
            if (QTest::currentTestFailed()) QFAIL(qPrintable("after " + last));
            before = snapshot(app, before);
        }
        // The walk reaches every section and the lessons' own controls.
        if (section < 0) {
            for (int i = 0; i <= 8; ++i)
                QVERIFY(clicksOn.value(QStringLiteral("Command1(%1)").arg(i)) > 0);
        } else {
            QCOMPARE(app.form().state().CurrentSection, section);
        }
        if (section == 0) QVERIFY(clicksOn.value("Picture1") > clicks / 40);
        qInfo("%d clicks, %d on Picture1, %d results lines, %d on the pad", clicks,
              clicksOn.value("Picture1"), app.form().state().HistoryCount,
              int(std::count_if(clicksOn.keyBegin(), clicksOn.keyEnd(),
                                [&](const QString& k) { return k.startsWith("Form2."); })));
        if (section >= 4 && section <= 6) QVERIFY(app.form().state().HistoryCount > 0);
    }
};

QTEST_MAIN(TestRandomClicks)
#include "test_random_clicks.moc"
