// The fraction pictures: what a drawing holds, pixel by pixel, for the lesson that clicks on it.
#include <QTest>
#include <cfloat>
#include <cmath>
#include <functional>
#include <map>
#include <random>

#include "controls/numbers.h"
#include "pictures/pie_renderer.h"
#include "pictures/sector_wheel.h"
#include "pie_regions.h"
#include "testkit.h"

using namespace rc;
using namespace rc::testing;

// Fails the test with "what: problem" when a check answers a problem.
#define VERIFY_NO_PROBLEM(check, what)                                        \
    do {                                                                      \
        const QString problem_ = (check);                                     \
        if (!problem_.isEmpty()) QFAIL(qPrintable((what) + ": " + problem_)); \
    } while (false)

namespace {

// "k/n on WxH", naming a drawing in a failure.
QString drawing(double k, double n, const Surface& s) {
    return QString("%1/%2 on %3x%4").arg(k).arg(n).arg(s.width()).arg(s.height());
}

bool inside(const Wheel& w, double x, double y) {
    return (x - w.cx) * (x - w.cx) + (y - w.cy) * (y - w.cy) <= w.r * w.r;
}

// The sector of a pixel of a circle of n sectors, or -1 when the pixel lies within `slack`
// radians of a radius line (there the drawing may round either way).
long long sectorAt(const Wheel& w, double n, int x, int y, double slack = 1e-5) {
    const double step = 6.28318 / n;
    double angle = std::atan2(w.cy - y, x - w.cx);
    if (angle < 0) angle += 2 * M_PI;
    if (angle >= 6.28318) return angle >= 6.28318 + slack ? (long long)(n)-1 : -1;
    const double within = std::fmod(angle, step);
    if (within < slack || step - within < slack) return -1;
    return std::min((long long)(angle / step), (long long)(n)-1);
}

// Checks everything the lesson relies on in a picture of circles of n sectors; answers what is
// wrong, or nothing.
QString checkWheels(const Surface& s, Colour outline, double n, const std::vector<Wheel>& wheels) {
    const int W = s.width(), H = s.height();
    auto wheelAt = [&](double x, double y) {
        for (std::size_t i = 0; i < wheels.size(); ++i)
            if (inside(wheels[i], x, y)) return int(i);
        return -1;
    };
    const std::vector<Colour> pixels = pixelsOf(s);
    const Regions regions = sectorRegions(s);
    std::vector<std::pair<int, long long>> home(regions.all.size(), {-2, -1});  // circle, sector
    std::vector<long long> blues(wheels.size(), 0);  // blue pixels in each circle
    const double step = 6.28318 / n, crowded = std::pow(0.5 / step, 2);  // a squared radius
    for (int y = 0, p = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x, ++p) {
            const int i = wheelAt(x, y), id = regions.label[std::size_t(p)];
            const Colour c = pixels[std::size_t(p)];
            auto at = [&](const QString& what) {
                return QString("%1 at %2,%3").arg(what).arg(x).arg(y);
            };
            // Only the four colours; near-white exactly outside the circles; a closed outline rim.
            if (c != Blue && c != White && c != Background && c != outline)
                return at(QString("colour %1").arg(c, 0, 16));
            if ((i < 0) != (c == Background)) return at("background wrong");
            if (i < 0) continue;
            const Wheel& w = wheels[std::size_t(i)];
            if (c != outline && !(inside(w, x - 1, y) && inside(w, x + 1, y) &&
                                  inside(w, x, y - 1) && inside(w, x, y + 1)))
                return at("rim open");
            // The crowded middle, where sectors are under half a pixel wide, is outline.
            if (c != outline && std::pow(x - w.cx, 2) + std::pow(y - w.cy, 2) < crowded)
                return at("colour in the crowded middle");
            blues[std::size_t(i)] += c == Blue;
            // Every blue or white region lies in one sector of one circle.
            if (id < 0) continue;
            auto& [wheel, sector] = home[std::size_t(id)];
            if (wheel == -2) wheel = i;
            if (wheel != i) return at("a region of two circles");
            const long long here = sectorAt(w, n, x, y);
            if (sector < 0) sector = here;
            if (here >= 0 && sector != here)
                return at(QString("a region of sectors %1 and %2").arg(sector).arg(here));
        }
    }
    // Each has its sector's colour and is that sector's only region.
    std::map<std::pair<int, long long>, long long> sizeOf;  // (circle, sector) -> region size
    for (std::size_t id = 0; id < regions.all.size(); ++id) {
        const auto [wheel, sector] = home[id];
        auto which = [&] { return QString("sector %1 of circle %2").arg(sector).arg(wheel); };
        if (sector < 0) continue;
        if (regions.all[id].colour !=
            (sector + 1.0 <= wheels[std::size_t(wheel)].blue ? Blue : White))
            return which() + " has the wrong colour";
        if (!sizeOf.emplace(home[id], regions.all[id].size).second)
            return which() + " is cut in two";
    }
    for (std::size_t i = 0; i < wheels.size(); ++i) {
        const auto [cx, cy, r, blue] = wheels[i];
        if (cx < r || cx + r > W - 1 || cy < r || cy + r > H - 1) continue;  // cut by the edges
        // Blue sectors over a pixel and a half wide at the rim show blue, however thin inside.
        if (r >= 20 && r * step >= 1.5 && blues[i] < std::min(blue, n) / 2)
            return QString("circle %1 shows too little blue").arg(i);
        // Sectors wide enough to hold colour show it: most of their area is theirs (the outline
        // takes about a pixel along each radius and the rim, and the crowded centre).
        const double room = r * r * step / 2 - 3 * r - 1.5 * r * step - 4 / step;
        if (r * step < 6 || room <= 0) continue;
        for (long long sector = 0; sector < (long long)n; ++sector)
            if (!sizeOf.contains({int(i), sector}) || sizeOf[{int(i), sector}] < 0.8 * room)
                return QString("sector %1 of circle %2 shows too little").arg(sector).arg(i);
    }
    return {};
}

// Writes k/n into the captions beside picture 1 or 2 and draws it.
PictureBox& draw(App& app, int picture, const QString& k, const QString& n) {
    app.label(QString("Label%1(0)").arg(picture)).setCaption(k);
    app.label(QString("Label%1(1)").arg(picture)).setCaption(n);
    picture == 1 ? app.form().pies().DrawPies1() : app.form().pies().DrawPies2();
    return app.picture(QString("Picture%1").arg(picture));
}

// Picture sizes, places, radii and sectors for random wheels, the same on every machine (the
// engine's numbers are fixed by the standard; the doubles are made from them here).
class WheelDice {
  public:
    double uniform(double lo, double hi) {
        return lo + (hi - lo) * double(engine_() >> 11) * 0x1p-53;
    }
    int whole(int lo, int hi) { return lo + int(engine_() % std::uint64_t(hi - lo + 1)); }
    // A position in whole, half or quarter pixels.
    double place(double lo, double hi) {
        return std::floor(uniform(lo, hi)) + 0.25 * whole(0, 3) * whole(0, 1);
    }
    // From 1 to `most` sectors, as many under ten as between each power of ten.
    double sectors(double most) { return std::floor(std::exp(uniform(0, std::log(most)))); }

  private:
    std::mt19937_64 engine_{20240611};
};

// FNV-1a over the pixels of a picture, row by row, folded into `digest`.
void fold(std::uint64_t& digest, const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (qsizetype i = 0; i < qsizetype(image.width()) * 4; ++i)
            digest = (digest ^ row[i]) * 0x100000001b3ull;
    }
}

}  // namespace

class TestPictures : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    // The contract with the lesson, on the pictures of three screens and a wide, low one:
    // every n up to 150 (every other one on the wide, low picture, every tenth on the largest),
    // 500 and 2000, and in Release 300 to 2 000 000, with a few numerators each.
    void contract_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("every");  // n sampled every so many, and every n up to `first`
        QTest::newRow("800x600") << QSize(800, 600) << 1;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << 1;
        QTest::newRow("3840x2160") << QSize(3840, 2160) << 10;
        QTest::newRow("3840x600 wide and low") << QSize(3840, 600) << 2;
    }

    void contract() {
        QFETCH(QSize, screen);
        QFETCH(int, every);
        int first = 8;
#ifndef NDEBUG
        every *= 5, first = 3;  // the sanitizer build is far slower: a sparser sample
#endif
        App app({screen.width(), screen.height(), 96});
        // The drawable size of the pictures, by the layout rules.
        const double width = 15.0 * screen.width() - 1845 - 80 - 120 - 1815 - 20;
        const double height = double(halved(15.0 * screen.height() - 890 - 1000)) - 200;
        PictureBox& picture1 = app.picture("Picture1");
        QCOMPARE(QSize(picture1.ScaleWidth(), picture1.ScaleHeight()),
                 QSize(std::lround(width / 15) - 4, std::lround(height / 15) - 4));
        // Cells under 6 pixels hold no circle (100/1 at 800 x 600); at 6, circles of radius 1.
        std::vector<std::pair<double, double>> fractions;  // n, k
        if (screen.width() == 800) fractions = {{1, 100}, {1, 89}};
        for (double n = 1; n <= 2000; n += n < 150 ? 1 : n < 500 ? 350 : 1500)  // to 150, 500, 2000
            for (double k : {std::floor(n / 3), n, 3 * n + std::max(1.0, std::floor(n / 2))})
                if (n <= first || int(n) % every == 0 || n >= 150) fractions.push_back({n, k});
        // Beyond the lessons: 1/0 and -1/4 draw nothing and count no circle, nor do 1E+15
        // circles, which leave no room; a disc of 10^7 sectors, or of more than doubles hold,
        // is all outline.
        fractions.insert(fractions.end(),
                         {{0, 1}, {4, -1}, {1, 1e15}, {1e7, 1}, {DBL_MAX, DBL_MAX}});
#ifdef NDEBUG  // the middle range of the sector walk, its dearest cases, and far beyond
        for (double n : {300.0, 410.0, 700.0, 860.0, 1300.0, 2e6})
            for (double k : {1.0, std::floor(n / 3)}) fractions.push_back({n, k});
#endif
        for (const auto& [n, k] : fractions) {
            // Picture1 takes denominators up to 150, Picture2 the larger ones.
            const Surface& s = draw(app, n <= 150 ? 1 : 2, Str(k), Str(n)).surface();
            VERIFY_NO_PROBLEM(checkWheels(s, Outline, n, wheelsOf(s.width(), s.height(), n, k)),
                              drawing(k, n, s));
            if (n >= 1e7) QVERIFY(sectorRegions(s).all.empty());
            const auto& state = app.form().state();
            QCOMPARE(n <= 150 ? state.WholeUnits1 : state.WholeUnits2,
                     n > 0 && k >= 0 ? std::floor(k / n) : 0);
        }
    }

    // The quick drawing (cleared straight to near-white, whole circles copied) gives the very
    // pixels of the literal one (cleared white, every circle drawn, the background flooded),
    // on pictures from tiny to wide, low and narrow, tall.
    void fastDrawingMatchesLiteral() {
        QWidget parent;
        PictureBox picture(&parent);
        picture.setBackColor(White);
        Label numerator(&parent), denominator(&parent);
        const double fractions[][2] = {
            {1, 2},   {0, 5},   {3, 3},     {5, 4},    {7, 1},    {100, 1}, {2000, 20}, {47, 2},
            {1, 1e7}, {1, 0},   {150, 149}, {33, 7},   {16, 16},  {-1, 4},  {1, 100},   {1, 300},
            {1, 410}, {1, 700}, {1, 860},   {1, 1300}, {1, 2000}, {1, 2e6}, {1, 1200}};
        for (int w : {1, 2, 3, 5, 13, 14, 27, 40, 61, 100, 257, 537}) {
            for (int h : {1, 2, 3, 4, 12, 13, 14, 15, 26, 27, 60, 101, 220, 301}) {
                picture.Move(0, 0, (w + 4) * 15.0, (h + 4) * 15.0);
                QCOMPARE(picture.ScaleWidth(), w);
                for (const auto& [k, n] : fractions) {
                    numerator.setCaption(Str(k));
                    denominator.setCaption(Str(n));
                    double fastWhole = -1, literalWhole = -2;
                    PieRenderer::DrawPies(picture, numerator, denominator, fastWhole);
                    const QImage fast = picture.surface().image().copy();
                    PieRenderer::DrawPies(picture, numerator, denominator, literalWhole,
                                          PieRenderer::Method::Literal);
                    VERIFY_NO_PROBLEM(fast == picture.surface().image() ? "" : "pixels differ",
                                      drawing(k, n, picture.surface()));
                    QCOMPARE(fastWhole, literalWhole);
                }
            }
        }
    }

    // The fraction a picture shows already is not drawn again (every menu click shows the
    // panel's fraction again) and is still counted; once anything is drawn on the picture, a
    // sector flooded by a click, or it takes another colour or size, the same fraction is
    // drawn anew, to the very pixels of its first drawing.
    void aPictureShowingTheFractionIsKept() {
        QWidget parent;
        PictureBox picture(&parent);
        picture.setBackColor(White);
        picture.Move(0, 0, 304 * 15.0, 104 * 15.0);
        Label numerator(&parent), denominator(&parent);
        numerator.setCaption("5");
        denominator.setCaption("4");
        double whole = -1;
        const auto draw = [&] {
            whole = -1;
            return PieRenderer::DrawPies(picture, numerator, denominator, whole);
        };
        QCOMPARE(draw(), 2.0);
        const QImage drawn = picture.surface().image().copy();
        const std::uint64_t generation = picture.surface().generation();
        QCOMPARE(draw(), 2.0);
        QCOMPARE(whole, 1.0);
        QCOMPARE(picture.surface().generation(), generation);
        const auto drawnAgainAfter = [&](const std::function<void()>& change) {
            change();
            QVERIFY(picture.surface().image() != drawn);
            draw();
            QCOMPARE(picture.surface().image(), drawn);
        };
        picture.setFillColor(PieRenderer::Blue);
        drawnAgainAfter([&] { picture.ExtFloodFill(75, 75, picture.Point(75, 75)); });
        drawnAgainAfter([&] {
            picture.setForeColor(RGB(255, 0, 0));
            draw();
            picture.setForeColor(SystemColour::WindowText);
        });
        drawnAgainAfter([&] {
            picture.Move(0, 0, 300 * 15.0, 104 * 15.0);
            picture.Move(0, 0, 304 * 15.0, 104 * 15.0);
        });
    }

    // Three thousand random wheels, whole and cut by the picture's edges, of every kind the
    // drawing tells apart, give the pixels they gave when these digests were taken: a pixel
    // moved anywhere changes its kind's digest. A change meant to move pixels checks them
    // with `contract` and `wheelsOnTheirOwn` and takes the digests anew from the failure.
    void randomWheelsKeepTheirPixels() {
        const struct {
            const char* kind;
            std::uint64_t digest;
        } kinds[] = {{"whole", 0x9ca9fc1a366dc1efull},
                     {"cut", 0xbd170caee239b499ull},
                     {"thin", 0x44fe27e4e3e7dc67ull},
                     {"odd", 0x728eaec6cbc253a6ull},
                     {"together", 0xf176fe838b9323d9ull}};
        WheelDice dice;
        Surface s;
        QString changed;
        for (const auto& [kind, expected] : kinds) {
            const QByteArray name(kind);
            std::uint64_t digest = 0xcbf29ce484222325ull;
            for (int i = 0; i < 600; ++i) {
                const int w = dice.whole(1, 300), h = dice.whole(1, 220);
                s.resize(w, h, Background);
                const double r =
                    dice.uniform(0.5, name == "cut" ? 1.5 * std::max(w, h) : std::min(w, h) / 2.0);
                // Sectors under two pixels wide outside the crowded middle (thin), or mostly wide
                // enough to hold colour (whole, together), or anything.
                const double most = name == "whole"      ? 12 * r
                                    : name == "together" ? 4.0 * std::min(w, h)
                                                         : 20000;
                const double n = name == "thin" ? std::floor(dice.uniform(3.2, 9) * r) + 1
                                                : dice.sectors(std::max(2.0, most));
                const double k = std::floor(dice.uniform(0, n + 1));
                if (name == "whole") {
                    // With a pixel to spare on every side; a few too large to have it.
                    drawSectorWheel(s, dice.place(r + 1, w - 1 - r), dice.place(r + 1, h - 1 - r),
                                    r, n, k, Blue, White, Outline);
                } else if (name == "cut" || name == "thin") {
                    drawSectorWheel(s, dice.place(-r, w + r), dice.place(-r, h + r), r, n, k, Blue,
                                    White, Outline);
                } else if (name == "odd") {
                    // Fractions of sectors, of filled sectors and of radii, tiny and huge.
                    const double odd[] = {n + dice.uniform(0, 1), k - dice.uniform(-1, 1),
                                          dice.uniform(0.1, 3), std::pow(10, dice.uniform(0, 7))};
                    drawSectorWheel(s, dice.place(-5, w + 5), dice.place(-5, h + 5),
                                    odd[dice.whole(2, 3)], odd[0], odd[1], Blue, White, Outline);
                } else {
                    // Two or three wheels cleared and drawn in one go: apart or overlapping,
                    // inside the picture (on two threads) or cut by it.
                    std::vector<SectorWheel> wheels;
                    for (int j = dice.whole(2, 3); j > 0; --j) {
                        const double q = dice.uniform(0.5, std::min(w, h) / 3.0);
                        wheels.push_back({dice.place(q - 2, w + 1 - q),
                                          dice.place(q - 2, h + 1 - q), q, n, k - j, Blue, White,
                                          Outline});
                    }
                    clearAndDrawSectorWheels(s, White, wheels);
                }
                fold(digest, s.image());
            }
            if (digest != expected)
                changed += QString(" %1 0x%2").arg(kind).arg(digest, 16, 16, QChar('0'));
        }
        VERIFY_NO_PROBLEM(changed, QString("the digests of the wheels that changed"));
    }

    // Circles cut by the picture's edges, or off centre by fractions of a pixel, keep their
    // sectors closed.
    void wheelsOnTheirOwn() {
        Surface surface;
        // Centre, radius and sectors; the last three have sectors under two pixels wide from the
        // crowded middle to the rim.
        const double cases[][4] = {
            {-20, 50, 60, 7},        {-20, 50, 40, 7},       {135, 50, 40, 6},
            {130, 50, 45, 12},       {60, -30, 70, 5},       {60, 140, 50, 150},
            {60.25, 50.75, 40, 9},   {0, 0, 100, 3},         {119, 99, 30, 1},
            {60, 50, 200, 40},       {59.5, 49.5, 44, 2000}, {-20.25, 50.5, 60, 300},
            {100.5, 30.25, 50, 180}, {60, 50, 45, 200}};
        for (const auto& [cx, cy, r, n] : cases) {
            for (double k : {0.0, 1.0, std::floor(n / 2), n}) {
                surface.resize(120, 100, Background);
                drawSectorWheel(surface, cx, cy, r, n, k, Blue, White, RGB(0, 0, 0));
                VERIFY_NO_PROBLEM(
                    checkWheels(surface, RGB(0, 0, 0), n, {{cx, cy, r, k}}),
                    drawing(k, n, surface) + QString(" at (%1, %2) r %3").arg(cx).arg(cy).arg(r));
            }
        }
    }

    // Clearing and drawing circles in one go gives the pixels of clearing, then drawing them one
    // after the other: the add/subtract lesson's two circles on the pictures of both screens,
    // circles that overlap, and circles the picture cuts.
    void wheelsDrawnWithTheClear() {
        Surface together, oneByOne;
        const Colour teal = RGB(0, 128, 128), black = RGB(0, 0, 0);
        QList<QSize> pictures{{300, 120}, {1657, 460}};
#ifdef NDEBUG
        pictures << QSize(3577, 1000);
#endif
        for (const QSize size : pictures) {
            const double w = size.width(), h = size.height(), r = h / 2 - 2;
            for (double n : {12.0, 400.0, 1200.0, 120000.0}) {
                const std::vector<SectorWheel> drawings[] = {
                    {{w / 4, h / 2, r, n, std::floor(n / 2), Blue, White, black},
                     {3 * w / 4, h / 2, r, n, std::floor(n / 3), teal, White, black}},
                    {{w / 4, h / 2, r, n, 1, Blue, White, black},
                     {w / 4 + r, h / 2 + 0.5, r - 2, n / 3, n, teal, White, black}},
                    {{r / 2, h / 2, r, n, n, Blue, White, black},
                     {w / 2, h / 2, r / 3, n, 2, teal, White, black}},
                    {{w / 4, h / 4, r / 2 - 2, n, 3, Blue, White, black},
                     {w / 4 + 1, 3 * h / 4, r / 2 - 2, n, 5, teal, White, black}}};
                for (const auto& wheels : drawings) {
                    together.resize(size.width(), size.height(), Background);
                    clearAndDrawSectorWheels(together, White, wheels);
                    oneByOne.resize(size.width(), size.height(), Background);
                    oneByOne.clear(White);
                    for (const SectorWheel& c : wheels)
                        drawSectorWheel(oneByOne, c.cx, c.cy, c.radius, c.n, c.k, c.filled, c.empty,
                                        c.outline);
                    VERIFY_NO_PROBLEM(together.image() == oneByOne.image() ? "" : "pixels differ",
                                      drawing(wheels[0].k, n, together) + ", circles at " +
                                          QString::number(wheels[1].cx));
                }
            }
        }
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
