#pragma once

// The lessons as a pupil meets them, one page object each: what can be pressed and what can be
// read, by name. Every control address of the lessons is written here once.
#include <QAbstractItemView>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>

#include "controls/numbers.h"
#include "pie_regions.h"
#include "practice/number_pad.h"
#include "results/results_history.h"
#include "testkit.h"

namespace rc::testing {

// The two buttons of a "+" / "--" pair.
enum Press { Up = 0, Down = 1 };

inline void pressTimes(App& app, const QString& address, int times) {
    for (int i = 0; i < times; ++i) app.click(address);
}
inline QString pair(App& app, const QString& numerator, const QString& denominator) {
    return app.label(numerator).Caption() + "/" + app.label(denominator).Caption();
}
inline QString pressAddress(const char* array, Press press) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(int(press));
}

// The fraction panel under the first three lessons: Label2 drawn in Picture2, with its own
// "+" / "--" buttons.
struct PanelPage {
    explicit PanelPage(App& app) : app(app) {}
    QString fraction() const { return pair(app, "Label2(0)", "Label2(1)"); }
    void numerator(Press press, int times = 1) {
        pressTimes(app, pressAddress("Command4", press), times);
    }
    void denominator(Press press, int times = 1) {
        pressTimes(app, pressAddress("Command5", press), times);
    }
    PictureBox& picture() const { return app.picture("Picture2"); }
    double wholeUnits() const { return app.form().state().WholeUnits2; }
    // A mark that only a new drawing of the picture wipes out.
    void stain() { picture().surface().setPixel(1, 1, RGB(1, 2, 3)); }
    bool stained() const { return picture().Point(1, 1) == RGB(1, 2, 3); }
    App& app;
};

// "Representación gráfica": Label1 drawn in Picture1.
struct RepresentationPage {
    explicit RepresentationPage(App& app) : app(app), picture(app.picture("Picture1")) {}
    void open() { app.click("Command1(0)"); }

    QString numerator() const { return app.label("Label1(0)").Caption(); }
    QString denominator() const { return app.label("Label1(1)").Caption(); }
    QString fraction() const { return numerator() + "/" + denominator(); }
    double wholeUnits() const { return app.form().state().WholeUnits1; }
    void stepNumerator(Press press, int times = 1) {
        pressTimes(app, pressAddress("Command2", press), times);
    }
    void stepDenominator(Press press, int times = 1) {
        pressTimes(app, pressAddress("Command3", press), times);
    }
    // Reaches k/n from 1/2 with the buttons, as a pupil would.
    void reach(int k, int n) {
        while (denominator().toInt() < n) stepDenominator(Up);
        while (numerator().toInt() < k) stepNumerator(Up);
        while (numerator().toInt() > k) stepNumerator(Down);
    }

    // The pixel at the middle of `sector` of the circle in cell `cell` of `cells`, at 0.6 of
    // its radius, on even coordinates so that a scaled display can point at it.
    QPoint sectorPixel(int sector, int cell = 0, int cells = 1) const {
        const int W = picture.ScaleWidth(), H = picture.ScaleHeight();
        const double n = Val(denominator());
        double cx = W / 2.0, r = H / 2.0 - 6;
        if (cells > 1) {
            const double width = std::floor(W / double(cells));
            cx = std::floor(width / 2) + cell * width;
            r = std::min(std::floor(width / 2), H / 2.0 - 6) - 2;
        }
        const double angle = (sector + 0.5) * 6.28318 / n;
        const int x = int(std::lround((cx + 0.6 * r * std::cos(angle)) / 2)) * 2;
        const int y = int(std::lround((H / 2.0 - 0.6 * r * std::sin(angle)) / 2)) * 2;
        return {x, y};
    }
    // A real mouse click on the picture over the given pixel.
    void clickPixel(QPoint pixel, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = {}) {
        QWidget* widget = picture.widget();
        const double ratio = widget->devicePixelRatioF();
        const QPoint logical(int(std::lround(pixel.x() / ratio)) + PictureBox::border,
                             int(std::lround(pixel.y() / ratio)) + PictureBox::border);
        QTest::mouseClick(widget, button, modifiers, logical);
    }
    Colour at(QPoint pixel) const { return picture.Point(pixel.x(), pixel.y()); }
    QImage image() const { return picture.surface().image().copy(); }
    // A stain on the picture that only a new drawing removes.
    void stain() { picture.surface().setPixel(1, 1, RGB(1, 2, 3)); }
    bool stained() const { return picture.Point(1, 1) == RGB(1, 2, 3); }

    App& app;
    PictureBox& picture;
};

// "Amplificar": a/b times m/m with its working and result.
struct AmplifyPage {
    explicit AmplifyPage(App& app) : app(app) {}
    void open() { app.click("Command1(1)"); }
    void times(int m) { app.click(QStringLiteral("Command6(%1)").arg(m - 1)); }
    void baseNumerator(Press press, int times = 1) {
        pressTimes(app, pressAddress("Command7", press), times);
    }
    void baseDenominator(Press press, int times = 1) {
        pressTimes(app, pressAddress("Command8", press), times);
    }
    // The numerators and the denominators as the pupil reads them: base, multiplier, working,
    // result.
    QStringList numerators() const { return row("Label4"); }
    QStringList denominators() const { return row("Label5"); }
    QString baseDenominatorText() const { return app.label("Label5(0)").Caption(); }
    App& app;

  private:
    QStringList row(const char* name) const {
        QStringList texts;
        for (int i = 0; i <= 3; ++i)
            texts << app.label(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i)).Caption();
        return texts;
    }
};

// "Simplificar": a/b divided by a prime, or the red message.
struct SimplifyPage {
    explicit SimplifyPage(App& app) : app(app) {}
    void open() { app.click("Command1(2)"); }
    // ": 2" .. ": 17", by the button's place in the row (0 .. 6).
    void divideBy(int button) { app.click(QStringLiteral("Command9(%1)").arg(button)); }
    void baseNumerator(Press press, int times = 1) {
        pressTimes(app, pressAddress("Command10", press), times);
    }
    void baseDenominator(Press press, int times = 1) {
        pressTimes(app, pressAddress("Command11", press), times);
    }
    QString base() const { return pair(app, "Label6(0)", "Label7(0)"); }
    // The working and the result, "a : p/b : p = c/d"; empty while the steps are hidden.
    QString steps() const {
        int shown = 0;
        for (int i = 7; i <= 12; ++i) shown += app.controls().array<Line>("Line1")(i).Visible();
        for (const char* label : {"Label6(1)", "Label7(1)", "Label6(2)", "Label7(2)"})
            shown += app.label(label).Visible();
        if (shown == 0) return {};
        if (shown != 10) return "partly shown";
        return pair(app, "Label6(1)", "Label7(1)") + " = " + pair(app, "Label6(2)", "Label7(2)");
    }
    bool message() const { return app.label("Label3(2)").Visible(); }
    App& app;
};

// "Suma y resta": A and B, their equivalents A′ and B′, the result, the two pies.
struct SumLessonPage {
    explicit SumLessonPage(App& app) : app(app) {}
    // Deals A = n0/d0 and B = n1/d1 with the next menu click.
    void deal(int n0, int d0, int n1, int d1) {
        app.random.deal(11, 2, d0);
        app.random.deal(d0, 1, n0);
        app.random.deal(11, 2, d1);
        app.random.deal(d1, 1, n1);
    }
    void open() { app.click("Command1(3)"); }
    QString given() const {
        return pair(app, "Label8(0)", "Label9(0)") + sign(16) + pair(app, "Label8(1)", "Label9(1)");
    }
    // "3/6 - 2/6" as A′ and B′ read.
    QString equivalents() const {
        return app.label("Label8(2)").Caption() + "/" + button(0).Caption() + sign(23) +
               app.label("Label8(3)").Caption() + "/" + button(1).Caption();
    }
    CommandButton& button(int index) const {
        return app.button(QStringLiteral("Command12(%1)").arg(index));
    }
    void amplifyA(int times = 1) { pressTimes(app, "Command12(0)", times); }
    void amplifyB(int times = 1) { pressTimes(app, "Command12(1)", times); }
    void backA(int times = 1) { pressTimes(app, "Command13(0)", times); }
    void backB(int times = 1) { pressTimes(app, "Command13(1)", times); }
    // The result's numerator (2) and its "+5" (4), "-1" (5); its denominator 3, 6, 7.
    void press(int index, int times = 1) {
        pressTimes(app, QStringLiteral("Command12(%1)").arg(index), times);
    }
    QString result() const { return button(2).Caption() + "/" + button(3).Caption(); }
    // The result with its counters, "=" and bar: all shown or all hidden.
    bool resultShown() const {
        int shown = 0;
        for (int i = 2; i <= 7; ++i) shown += button(i).Visible();
        for (int i : {24, 25, 26}) shown += app.controls().array<Line>("Line1")(i).Visible();
        if (shown != 0 && shown != 9) throw std::logic_error("the result is partly shown");
        return shown == 9;
    }
    // The factor written on the arrows of A (0) or B (1), empty while they are hidden.
    QString arrows(int fraction) const {
        const char* lines = fraction == 0 ? "Line3" : "Line4";
        const QString label = fraction == 0 ? "Label10(%1)" : "Label11(%1)";
        int shown = 0;
        for (int i = 0; i <= 9; ++i) shown += app.controls().array<Line>(lines)(i).Visible();
        for (int i = 0; i <= 1; ++i) shown += app.label(label.arg(i)).Visible();
        if (shown == 0) return {};
        if (shown != 12) return "partly shown";
        return app.label(label.arg(0)).Caption() + "|" + app.label(label.arg(1)).Caption();
    }
    App& app;

  private:
    QString sign(int vertical) const {
        return app.controls().array<Line>("Line1")(vertical).Visible() ? " + " : " - ";
    }
};

// ---------------------------------------------------------------------------------------------
// Colours as the pupil sees them: read from the pixels the window paints.

// The pixels of a control as they show in its window.
inline QImage shown(const Control& control) {
    QWidget* widget = control.widget();
    QWidget* window = widget->window();
    const QRect area(widget->mapTo(window, QPoint(0, 0)), widget->size());
    return window->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}
// The colour a button or an option button is filled with, away from its caption and bevel.
inline Colour fillShown(const Control& control) {
    const QImage image = shown(control);
    return fromQColor(image.pixelColor(image.width() - 5, 4));
}
// Whether some pixel of the control shows exactly this colour (the text of a label).
inline bool showsColour(const Control& control, Colour colour) {
    const QImage image = shown(control);
    const QRgb wanted = toQColor(resolved(colour)).rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == wanted) return true;
    return false;
}

// "MULTIPLICACIÓN Y DIVISIÓN".
struct ProductPage {
    explicit ProductPage(App& app) : app(app) {}
    // Deals num1/den1 and num2/den2 with the next menu click.
    void deal(int num1, int den1, int num2, int den2) {
        app.random.deal(10, 1, num1);
        app.random.deal(10, 3, den1);
        app.random.deal(10, 1, num2);
        app.random.deal(10, 3, den2);
    }
    void open() { app.click("Command1(6)"); }
    QString fractions() const {
        return pair(app, "Label15(0)", "Label16(0)") + " " + pair(app, "Label15(1)", "Label16(1)");
    }
    void choose(int operation) {
        QWidget* option = app.controls().array<OptionButton>("Option1")(operation).widget();
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    }
    // The result's numerator (index 0) and its "+5" (1), "-1" (2); the denominator 3, 4, 5.
    void press(int button, int times = 1) {
        pressTimes(app, QStringLiteral("Command18(%1)").arg(button), times);
    }
    void check() { app.click("Command19"); }
    QString answer() const {
        return app.button("Command18(0)").Caption() + "/" + app.button("Command18(3)").Caption();
    }
    bool cross() const { return lines(5, 6); }
    bool dots() const { return lines(7, 8); }
    // Numerator, denominator and "COMPROBAR" as painted.
    QList<Colour> verdict() const {
        return {fillShown(app.button("Command18(0)")), fillShown(app.button("Command18(3)")),
                fillShown(app.button("Command19"))};
    }
    App& app;

  private:
    bool lines(int a, int b) const {
        auto& Line6 = app.controls().array<Line>("Line6");
        return Line6(a).Visible() && Line6(b).Visible();
    }
};

// The number pad, once an exercise number has opened it.
struct PadPage {
    explicit PadPage(App& app) : app(app) {}
    Form2& window() const { return *app.form().numberPad().window(); }
    // Digits "0".."9", "B" for "BORRAR", steps as "+1", "-1", "+5", "-5", "+10", "-10".
    void type(const QString& keys) {
        static const QStringList steps = {"+1", "-1", "+5", "-5", "+10", "-10"};
        if (steps.contains(keys)) return key(window().Command2(int(steps.indexOf(keys))));
        for (QChar c : keys) key(c == 'B' ? window().Command3 : window().Command1(c.digitValue()));
    }
    QString display() const { return window().Label1.Caption(); }
    App& app;

  private:
    void key(CommandButton& button) {
        QTest::mouseClick(button.widget(), Qt::LeftButton, {}, button.widget()->rect().center());
    }
};

// "SIMPLIFICA": the row F0..F5 of Label17 pairs, the links' "COMPROBAR" buttons.
struct SimplifyExercisePage {
    explicit SimplifyExercisePage(App& app) : app(app) {}
    // Deals N = 2^a · 3^b · 5^c · 7^d · 11^e and D likewise with the next menu click.
    void deal(std::array<int, 5> n, std::array<int, 5> d) {
        dealTerm(n, 3);
        dealTerm(d, 4);
    }
    void open() { app.click("Command1(4)"); }
    Label& number(int label) const { return app.label(QStringLiteral("Label17(%1)").arg(label)); }
    QString fraction(int j) const {
        return number(2 * j).Caption() + "/" + number(2 * j + 1).Caption();
    }
    // Clicks the number and types `keys` on the pad.
    void write(int label, const QString& keys) {
        QTest::mouseClick(number(label).widget(), Qt::LeftButton, {},
                          number(label).widget()->rect().center());
        PadPage(app).type(keys);
    }
    // Writes F(j) as num/den.
    void answer(int j, const QString& num, const QString& den) {
        write(2 * j, num);
        if (!den.isEmpty()) write(2 * j + 1, den);
    }
    CommandButton& button(int k) const {
        return app.button(QStringLiteral("Command21(%1)").arg(k));
    }
    void check(int k) { app.click(QStringLiteral("Command21(%1)").arg(k)); }
    bool equalsShown(int j) const {  // the "=" in front of F(j)
        auto& Line7 = app.controls().array<Line>("Line7");
        return Line7(3 * j - 2).Visible() && Line7(3 * j - 1).Visible();
    }
    bool barShown(int j) const { return app.controls().array<Line>("Line7")(3 * j).Visible(); }
    App& app;

  private:
    void dealTerm(std::array<int, 5> e, int threes) {
        app.random.deal(4, 1, e[0]);
        app.random.deal(threes, 0, e[1]);
        for (int i = 2; i < 5; ++i) app.random.deal(2, 0, e[std::size_t(i)]);
    }
};

// "SUMA Y RESTA": three given fractions, a list of multiples under each, four numerators with
// their "+5" and "-1", one "COMPROBAR".
struct SumExercisePage {
    explicit SumExercisePage(App& app) : app(app) {}
    // Deals n0/d0, n1/d1, n2/d2 with the next menu click.
    void deal(int n0, int d0, int n1, int d1, int n2, int d2) {
        for (const auto& [n, d] : {std::pair{n0, d0}, {n1, d1}, {n2, d2}}) {
            app.random.deal(10, 1, n);
            app.random.deal(10, 2, d);
        }
    }
    void open() { app.click("Command1(5)"); }

    QString given(int i) const { return pair(app, at("Label12", i), at("Label13", i)); }
    QString fractions() const { return given(0) + " " + given(1) + " " + given(2); }
    // The second operator as drawn in the row of given fractions and in the row of equivalent
    // fractions: "+" or "-" each.
    QString secondOperators() const {
        auto& Line5 = app.controls().array<Line>("Line5");
        const auto sign = [&](int horizontal, int vertical) {
            if (!Line5(horizontal).Visible()) return QStringLiteral("?");
            return QString(Line5(vertical).Visible() ? "+" : "-");
        };
        return sign(10, 9) + " " + sign(16, 15);
    }

    ListBox& list(int i) const { return app.controls().array<ListBox>("List1")(i); }
    QAbstractItemView* view(int i) const {
        return qobject_cast<QAbstractItemView*>(list(i).widget());
    }
    QStringList entries(int i) const {
        QStringList all;
        for (int row = 0; row < list(i).ListCount(); ++row) all << list(i).List(row);
        return all;
    }
    // Scrolls list i to the entry and clicks it.
    void choose(int i, const QString& entry) {
        QAbstractItemView* v = view(i);
        const QModelIndex index = v->model()->index(int(entries(i).indexOf(entry)), 0);
        v->scrollTo(index);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(index).center());
    }
    void chooseInAll(const QString& entry) {
        for (int i = 0; i <= 2; ++i) choose(i, entry);
    }
    // Keys typed into list i: text searches, or one key such as Qt::Key_Down.
    void type(int i, const QString& text) { QTest::keyClicks(view(i), text); }
    void key(int i, Qt::Key key) { QTest::keyClick(view(i), key); }
    QString selected(int i) const { return list(i).List(list(i).ListIndex()); }
    QString working(int i) const { return app.label(at("Label14", i)).Caption(); }
    // Under the equivalent fractions and the result.
    QStringList commonDenominators() const {
        QStringList all;
        for (int i = 3; i <= 6; ++i) all << app.label(at("Label13", i)).Caption();
        return all;
    }

    CommandButton& numerator(int i) const { return app.button(at("Command14", i)); }
    QStringList numerators() const {
        QStringList all;
        for (int i = 0; i <= 3; ++i) all << numerator(i).Caption();
        return all;
    }
    void plusOne(int i, int times = 1) { pressTimes(app, at("Command14", i), times); }
    void plusFive(int i, int times = 1) { pressTimes(app, at("Command15", i), times); }
    void minusOne(int i, int times = 1) { pressTimes(app, at("Command16", i), times); }
    // Brings numerator i to `value` with the fewest presses.
    void set(int i, int value) {
        if (numerator(i).Caption().isEmpty()) plusOne(i);
        int now = numerator(i).Caption().toInt();
        for (; value - now >= 5; now += 5) plusFive(i);
        for (; now < value; ++now) plusOne(i);
        for (; now > value; --now) minusOne(i);
    }
    void setAll(int a, int b, int c, int result) {
        set(0, a);
        set(1, b);
        set(2, c);
        set(3, result);
    }

    CommandButton& checkButton() const { return app.button("Command17"); }
    bool checkShown() const { return checkButton().widget()->isVisible(); }
    void check() { app.click("Command17"); }
    // The four numerators and "COMPROBAR" as painted.
    QList<Colour> colours() const {
        QList<Colour> all;
        for (int i = 0; i <= 3; ++i) all << fillShown(numerator(i));
        return all << fillShown(checkButton());
    }
    App& app;

  private:
    static QString at(const char* array, int i) {
        return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(i);
    }
};

// "TUS RESULTADOS".
struct ResultsPage {
    explicit ResultsPage(App& app) : app(app) {}
    void open() { app.click("Command20"); }
    Form3* window() const { return app.form().results().window(); }
    QStringList lines() const {
        QStringList all;
        if (Form3* w = window())
            for (int i = 0; i < w->List1.ListCount(); ++i) all << w->List1.List(i);
        return all;
    }
    App& app;
};

// A fresh main window on an 800 x 600 screen with the pages of its lessons.
struct Lessons {
    App app;
    PanelPage panel{app};
    RepresentationPage representation{app};
    AmplifyPage amplify{app};
    SimplifyPage simplify{app};
};

// A page of a fresh main window on an 800 x 600 screen, opened by its menu button.
template <class Page>
struct Opened {
    Opened() { page.open(); }
    Page* operator->() { return &page; }
    App app;
    Page page{app};
};

}  // namespace rc::testing
