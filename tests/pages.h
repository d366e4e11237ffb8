#pragma once

// The lessons as a pupil meets them, one page object each: what can be pressed and what can be
// read, by name. Every control address of the lessons is written here once.
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "controls/numbers.h"
#include "pie_regions.h"
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
    int blue() const { return sectorRegions(picture().surface()).count(Blue); }
    int white() const { return sectorRegions(picture().surface()).count(White); }
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
    int multiplierIndex() const { return app.form().state().MultiplierIndex; }
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
