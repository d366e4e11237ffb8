// Thousands of real clicks on random visible, enabled controls of the three windows, the same
// clicks for the same seed; after each one the invariants a pupil relies on must hold.
#include <QPointer>
#include <random>

#include "pupil.h"

using namespace rc;
using namespace rc::testing;

namespace {

// What the walk saw before a click.
struct Before {
    int historyCount = 0;
    QPointer<Form3> results;
    int firstLine = 0;  // HistoryCount when that results window was loaded
};

struct Walk {
    Walk(int width, int height, int seed) : app({width, height, 96}, std::uint64_t(seed)) {}
    App app;
    Pupil pupil{app};
    QStringList help = helpTexts();
    Before before;

    template <class T>
    T& at(const char* array, int i) {
        return app.controls().array<T>(array)(i);
    }

    // One menu button painted green and one frame shown, the current section's, with its help
    // text and the shared controls it shows; a menu click clears HadErrors.
    void menu(const QString& clicked) {
        const int current = pupil.section();
        QVERIFY(current >= 0 && current <= 8);
        for (int i = 0; i <= 8; ++i) {
            QCOMPARE(fillShown(at<CommandButton>("Command1", i)) == RGB(0, 255, 0), i == current);
            QCOMPARE(at<Frame>("Frame1", i).Visible(), i == current);
        }
        QCOMPARE(app.label("Label21").Caption(), help[current]);
        if (clicked.startsWith("Command1(") && !clicked.endsWith(" right"))
            QCOMPARE(app.form().state().HadErrors, 0);
        if (current != 7) QCOMPARE(sharedShown(app), MenuShows[current]);  // 7: as at start
    }

    // The denominator in 2..150, the numerator at least 0, both written as whole numbers.
    void representation() {
        const QStringList kn = pupil.read("fraction").split('/');
        QVERIFY2(Val(kn[1]) >= 2 && Val(kn[1]) <= 150 && Str(Val(kn[1])) == kn[1],
                 qPrintable(kn[1]));
        QVERIFY2(Val(kn[0]) >= 0 && Str(Val(kn[0])) == kn[0], qPrintable(kn[0]));
    }

    // Only a check writes, one line at a time, with its own kind's marker, at the bottom of the
    // results window when it is loaded.
    void history(const QString& clicked) {
        const auto& state = app.form().state();
        const int written = state.HistoryCount - before.historyCount;
        const QMap<QString, QStringList> markers = {
            {"Command21", {" * MUY BIEN *", " * CON ERRORES *"}},
            {"Command17", {" *** MUY BIEN ***", " *** CON ERRORES ***"}},
            {"Command19", {" ** MUY BIEN **", " ** CON ERRORES **"}}};
        const QString kind = clicked.section('(', 0, 0);
        QVERIFY2(written == 0 || (written == 1 && markers.contains(kind)), qPrintable(clicked));
        if (Form3* window = app.form().results().window()) {
            const int first = window == before.results ? before.firstLine : before.historyCount;
            QCOMPARE(window->List1.ListCount(), state.HistoryCount - first);
            if (written == 1)
                QVERIFY(pupil.lines().last().endsWith(markers[kind][state.HadErrors ? 1 : 0]));
        }
    }

    void check(const QString& name) {
        menu(name), history(name), representation();
        Before now;
        now.historyCount = app.form().state().HistoryCount;
        now.results = app.form().results().window();
        now.firstLine = now.results == before.results ? before.firstLine : before.historyCount;
        before = now;
    }

    // The numbers of a reading: "3/4 - 1/2" gives 3, 4, 1, 2.
    QList<double> numbers(const char* key) {
        return numbersIn(pupil.read(key).replace(QRegularExpression("[/ +-]+"), " "));
    }

    // The pupil who knows the answer enters it with the same buttons, lists and pad; returns
    // the check pressed.
    QString answer() {
        const QList<double> f = pupil.section() == 4 ? QList<double>() : numbers("fractions");
        if (pupil.section() == 6) {
            const bool division = at<OptionButton>("Option1", 1).Value();
            pupil.countTo("N", f[0] * f[division ? 3 : 2]);
            pupil.countTo("D", f[1] * f[division ? 2 : 3]);
            pupil.act("check");
            return "Command19";
        }
        if (pupil.section() == 5) {
            const double product = f[1] * f[3] * f[5];
            QList<double> n;  // the numerators over the product, then their sum or difference
            for (int i = 0; i <= 2; ++i) n << product / f[2 * i + 1] * f[2 * i];
            n << n[0] + n[1] + (pupil.read("operators").startsWith('+') ? n[2] : -n[2]);
            pupil.act("lists:" + Str(product));
            pupil.act(QStringLiteral("set%1,%2,%3,%4").arg(n[0]).arg(n[1]).arg(n[2]).arg(n[3]));
            pupil.act("check");
            return "Command17";
        }
        int k = 0;  // the first link still open
        while (k < 4 && !at<CommandButton>("Command21", k).Enabled() &&
               at<CommandButton>("Command21", k + 1).Visible())
            ++k;
        if (!at<CommandButton>("Command21", k).Enabled() ||
            !at<CommandButton>("Command21", k).Visible())
            return {};
        const long long a = pupil.number(2 * k).Caption().toLongLong(),
                        b = pupil.number(2 * k + 1).Caption().toLongLong();
        long long p = 0;
        for (long long prime : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29})
            if (a > 0 && b > 0 && a % prime == 0 && b % prime == 0) p = prime;
        if (p == 0) return {};
        const bool denominator = pupil.number(2 * k + 3).Visible();
        pupil.act(QStringLiteral("F%1=%2").arg(k + 1).arg(a / p) +
                  (denominator ? "/" + QString::number(b / p) : ""));
        pupil.act(QStringLiteral("check%1").arg(k));
        return "Command21";
    }
};

bool clickable(const Control* c) {
    return dynamic_cast<const CommandButton*>(c) || dynamic_cast<const Label*>(c) ||
           dynamic_cast<const PictureBox*>(c) || dynamic_cast<const OptionButton*>(c) ||
           dynamic_cast<const ListBox*>(c);
}

}  // namespace

class TestRandomClicks : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    void randomClicks_data() {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("section");  // -1: the whole program; else never leave it
        QTest::newRow("800x600, seed 1") << 1 << 800 << 600 << -1;
        QTest::newRow("1920x1080, seed 2") << 2 << 1920 << 1080 << -1;
        QTest::newRow("1366x768, seed 3") << 3 << 1366 << 768 << -1;
        for (int s = 0; s <= 6; ++s)  // from the graphic representation to multiply/divide
            QTest::newRow(qPrintable(QStringLiteral("section %1").arg(s)))
                << 4 + s << 1280 << 800 << s;
    }

    void randomClicks() {
        QFETCH(int, seed);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, section);
        bool set = false;
        const int all = qEnvironmentVariableIntValue("RUEDECITAS_CLICKS", &set);
        // Three quarters of the clicks go to the walks through the whole program.
        const int clicks = (set && all > 0 ? all : 3000) / (section < 0 ? 4 : 20);
        Walk walk(width, height, seed);
        App& app = walk.app;
        if (section >= 0) app.click(QStringLiteral("Command1(%1)").arg(section));
        walk.check({});
        std::mt19937 pick(static_cast<unsigned>(seed));
        QMap<QString, int> clicksOn;
        QString last;
        for (int n = 0; n < clicks; ++n) {
            if (Form3* results = app.form().results().window();
                results && results->isVisible() && pick() % 50 == 0) {
                results->close();  // now and then the pupil closes the results window
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            const int current = walk.pupil.section();
            if (current >= 4 && current <= 6 && pick() % (section < 0 ? 40 : 12) == 0) {
                const QString check = walk.answer();
                QCoreApplication::processEvents();
                ++clicksOn["answered"];
                walk.check(check);
                if (QTest::currentTestFailed()) QFAIL(qPrintable("after answering, " + last));
                continue;
            }
            // A control the pupil can reach: shown, enabled, not covered. Half the time the
            // pupil stays in the section, leaving the menu alone but for the section's own button.
            const bool stay = section >= 0 || pick() % 2 == 0;
            std::vector<std::pair<QString, Control*>> shown;
            auto add = [&](const QString& prefix, const Controls& controls) {
                for (Control* c : controls.all()) {
                    const QString address = prefix + c->name();
                    const bool menu = address.startsWith("Command1(") || address == "Command20";
                    if (clickable(c) && c->widget()->isVisible() && c->widget()->isEnabled() &&
                        !(stay && menu && address != QStringLiteral("Command1(%1)").arg(section)))
                        shown.emplace_back(address, c);
                }
            };
            add({}, app.controls());
            if (Form2* pad = app.form().numberPad().window()) add("Form2.", pad->controls());
            if (Form3* results = app.form().results().window()) add("Form3.", results->controls());
            Control* target = nullptr;
            QString name;
            QRegion reachable;
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
            // Mostly the left button; now and then the right one, which presses nothing.
            const bool left = pick() % 10 != 0;
            last = QStringLiteral("click %1: %2 at %3,%4").arg(n).arg(name).arg(at.x()).arg(at.y());
            // The press goes to the widget under the pointer: a list's lines, not its frame.
            QWidget* under = target->widget()->childAt(at);
            QWidget* receiver = under ? under : target->widget();
            QTest::mouseClick(receiver, left ? Qt::LeftButton : Qt::RightButton, {},
                              receiver->mapFrom(target->widget(), at));
            // Back in the event loop after every click: repaints happen, closed windows go.
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            ++clicksOn[name];
            walk.check(left ? name : name + " right");
            if (QTest::currentTestFailed()) QFAIL(qPrintable("after " + last));
        }
        // The walk reaches every section, or stays in its own; and the lessons' own controls.
        for (int i = 0; i <= 8 && section < 0; ++i)
            QVERIFY(clicksOn.value(QStringLiteral("Command1(%1)").arg(i)) > 0);
        if (section >= 0) QCOMPARE(walk.pupil.section(), section);
        if (section == 0) QVERIFY(clicksOn.value("Picture1") > clicks / 40);
        if (section >= 4) QVERIFY(app.form().state().HistoryCount > 0);
        qInfo("%d clicks, %d on Picture1, %d results lines", clicks, clicksOn.value("Picture1"),
              app.form().state().HistoryCount);
    }
};

QTEST_MAIN(TestRandomClicks)
#include "test_random_clicks.moc"
