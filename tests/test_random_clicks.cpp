// Thousands of real clicks on random visible, enabled controls of the main window, the same
// clicks for the same seed; after each one the invariants a pupil relies on must hold.
#include <QTest>
#include <algorithm>
#include <cfloat>
#include <random>

#include "controls/numbers.h"
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

void checkSectionInvariants(App& app, const rc::Control& clicked) {
    checkMenuInvariants(app);
    if (QTest::currentTestFailed()) return;
    const QString name = clicked.name();
    checkRepresentationInvariants(
        app, name == "Picture1" || name.startsWith("Command2(") || name.startsWith("Command3("));
    if (QTest::currentTestFailed()) return;
    checkAmplifySimplifyInvariants(app);
    if (QTest::currentTestFailed()) return;
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
    }

    void randomClicks() {
        QFETCH(int, seed);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, section);
        const int clicks = clicksFromEnvironment() / 6;
        App app({width, height, 96}, std::uint64_t(seed));
        if (section >= 0) app.click(QStringLiteral("Command1(%1)").arg(section));
        std::mt19937 pick(static_cast<unsigned>(seed));
        std::vector<rc::Control*> candidates;
        for (rc::Control* control : app.controls().all())
            if (clickable(control)) candidates.push_back(control);

        QString last;
        QMap<QString, int> clicksOn;
        for (int n = 0; n < clicks; ++n) {
            // A control the pupil can reach: shown, enabled, not covered by another.
            rc::Control* target = nullptr;
            QRegion reachable;
            // Half the time the pupil stays in the section and leaves the menu alone.
            const bool stay = section >= 0 || pick() % 2 == 0;
            std::vector<rc::Control*> shown;
            for (rc::Control* c : candidates) {
                if (stay && (c->name().startsWith("Command1(") || c->name() == "Command20"))
                    continue;
                if (c->widget()->isVisible() && c->widget()->isEnabled()) shown.push_back(c);
            }
            for (int attempt = 0; attempt < 200 && !target && !shown.empty(); ++attempt) {
                rc::Control* c = shown[pick() % shown.size()];
                reachable = c->widget()->visibleRegion();
                if (!reachable.isEmpty()) target = c;
            }
            QVERIFY2(target, "no reachable control");
            const QRect box = reachable.boundingRect();
            QPoint at(box.left() + int(pick() % unsigned(std::max(1, box.width()))),
                      box.top() + int(pick() % unsigned(std::max(1, box.height()))));
            if (!reachable.contains(at)) at = box.center();
            // Mostly the left button; now and then the right one, as pupils do.
            const Qt::MouseButton button = pick() % 10 == 0 ? Qt::RightButton : Qt::LeftButton;
            last = QStringLiteral("click %1: %2 at %3,%4")
                       .arg(n)
                       .arg(target->name())
                       .arg(at.x())
                       .arg(at.y());
            QTest::mouseClick(target->widget(), button, {}, at);
            ++clicksOn[target->name()];
            checkSectionInvariants(app, *target);
            if (QTest::currentTestFailed()) QFAIL(qPrintable("after " + last));
        }
        // The walk reaches every section and the lessons' own controls.
        if (section < 0) {
            for (int i = 0; i <= 8; ++i)
                QVERIFY(clicksOn.value(QStringLiteral("Command1(%1)").arg(i)) > 0);
        } else {
            QCOMPARE(app.form().state().CurrentSection, section);
        }
        if (section == 0) QVERIFY(clicksOn.value("Picture1") > clicks / 40);
        qInfo("%d clicks, %d on Picture1", clicks, clicksOn.value("Picture1"));
    }
};

QTEST_MAIN(TestRandomClicks)
#include "test_random_clicks.moc"
