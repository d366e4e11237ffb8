#include "pictures/pie_renderer.h"

#include <cmath>

#include "controls/numbers.h"
#include "pictures/sector_wheel.h"

namespace rc {

namespace {

// Copies the circle of radius r around (from, y) to (to, y), a whole number of pixels to its
// right, with the square around it (the background there is the same). Answers false when
// that is not possible.
bool copyCircle(Surface& surface, double from, double to, double y, double r) {
    const double left = std::ceil(from - r), right = std::floor(from + r);
    const double top = std::ceil(y - r), bottom = std::floor(y + r);
    return surface.copyArea(int(left), int(top), int(right - left + 1), int(bottom - top + 1),
                            int(left + (to - from)), int(top));
}

}  // namespace

PieRenderer::PieRenderer(const Controls& controls, double& wholeUnits1, double& wholeUnits2)
    : WholeUnits1(wholeUnits1),
      WholeUnits2(wholeUnits2),
      Picture1(controls.single<PictureBox>("Picture1")),
      Picture2(controls.single<PictureBox>("Picture2")),
      Label1(controls.array<Label>("Label1")),
      Label2(controls.array<Label>("Label2")) {}

void PieRenderer::DrawPies1() {
    circles1_ = DrawPies(Picture1, Label1(0), Label1(1), WholeUnits1);
}

void PieRenderer::DescribePies1() {
    Picture1.setDescription(
        describe(Val(Label1(0).Caption()), Val(Label1(1).Caption()), circles1_, true));
}

QString PieRenderer::colouredParts(double numerator, double denominator) {
    return QStringLiteral("%1 de %2 %3 %4")
        .arg(Str(numerator), Str(denominator), denominator == 1 ? "parte" : "partes",
             numerator == 1 ? "coloreada" : "coloreadas");
}

QString PieRenderer::describe(double numerator, double denominator, double circles, bool fit) {
    if (circles == 0) return QStringLiteral("Ningún círculo");
    return colouredParts(numerator, denominator) +
           QStringLiteral(", en %1 %2").arg(Str(circles), circles == 1 ? "círculo" : "círculos") +
           (fit ? QString() : QStringLiteral(", que no caben en el dibujo"));
}

void PieRenderer::DrawPies2() {
    DrawPies(Picture2, Label2(0), Label2(1), WholeUnits2);
}

double PieRenderer::DrawPies(PictureBox& picture, const Label& numerator, const Label& denominator,
                             double& wholeUnits, Method method) {
    Surface& surface = picture.surface();
    const double W = picture.ScaleWidth(), H = picture.ScaleHeight();
    const Colour outline = picture.ForeColor();

    // Every circle lies between rows 6 and H - 7 and at least 4 pixels from its neighbours, so
    // the white outside the circles is reached by a flood from (1, 1), plus one from the bottom
    // row when a single circle is wider than the picture; and it never touches a sector, since
    // every circle has an outline rim. Painting it near-white at once gives the same picture.
    const bool fast = method == Method::Fast && resolved(picture.BackColor()) == White &&
                      resolved(outline) != White && W >= 2 && H >= 2;
    const double n = Val(denominator.Caption());
    const double k = Val(numerator.Caption());
    // A denominator of 0 or less, or a negative numerator, has no picture: nothing is drawn
    // and no whole circle is counted.
    const bool drawable = n > 0 && k >= 0;
    const bool oneCircle = drawable && k <= n;
    const double whole = drawable ? std::floor(k / n) : 0;
    wholeUnits = whole;
    // More than one circle: a row of cells, a whole circle in each but perhaps the last.
    const bool row = drawable && !oneCircle;
    const bool partial = row && std::fmod(roundHalfEven(k), roundHalfEven(n)) != 0;
    const double cells = row ? whole + (partial ? 1 : 0) : 0;
    const double cell = row ? std::floor(roundHalfEven(W) / cells) : 0;
    double r = std::floor(cell / 2);
    if (r - 2 > H / 2 - 6) r = H / 2 - 6;
    const double circles = row ? cells : drawable ? 1 : 0;
    // Cells narrower than 6 pixels leave no room for a circle: the row stays empty.
    const bool fit = !row || r - 2 > 0;

    // The fraction the picture shows already, nothing drawn over it since (a menu click shows
    // the panel's fraction again), is not drawn again: only its circles are counted.
    const QString drawing = QStringLiteral("%1/%2 on %3x%4, %5 on %6, %7")
                                .arg(QString::number(k, 'g', 17), QString::number(n, 'g', 17))
                                .arg(W)
                                .arg(H)
                                .arg(resolved(outline))
                                .arg(resolved(picture.BackColor()))
                                .arg(int(method));
    picture.setFillColor(Background);
    if (!picture.holds(drawing)) {
        // One circle: cleared and drawn in one pass, which paints the circle's disc while
        // clearing.
        const SectorWheel single{W / 2, H / 2, H / 2 - 6, n, k, Blue, White, outline};
        if (fast && oneCircle)
            clearAndDrawSectorWheels(surface, Background, {&single, 1});
        else if (fast)
            surface.clear(Background);
        else
            picture.Cls();
        if (oneCircle && !fast)
            drawSectorWheel(surface, single.cx, single.cy, single.radius, n, k, Blue, White,
                            outline);
        // There are at most W / 6 cells, so the loops are bounded by the width. The whole
        // circles are one picture repeated a whole cell further each time.
        if (row && fit) {
            double x = std::floor(cell / 2);
            const double first = x;
            for (double i = 0; i < whole; ++i) {
                if (!(fast && i > 0 && copyCircle(surface, first, x, H / 2, r - 2)))
                    drawSectorWheel(surface, x, H / 2, r - 2, n, n, Blue, White, outline);
                x += cell;
            }
            if (partial)
                drawSectorWheel(surface, x, H / 2, r - 2, n, k - n * whole, Blue, White, outline);
        }
        // Repaint the white around the circles near-white, so that only sectors stay pure
        // white.
        if (!fast) {
            picture.ExtFloodFill(1, 1, picture.Point(1, 1));
            // A circle as wide as the picture cuts the background in two; the part below it
            // is background too.
            const int bottom = picture.ScaleHeight() - 2;
            if (bottom > 1 && picture.Point(1, bottom) == White)
                picture.ExtFloodFill(1, bottom, White);
        }
        picture.refresh();
        picture.keep(drawing);
    }
    picture.setDescription(describe(k, n, circles, fit));
    return circles;
}

}  // namespace rc
