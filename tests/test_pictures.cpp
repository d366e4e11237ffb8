// The fraction pictures: what a drawing holds, pixel by pixel, for the lesson that clicks on it.
#include <QTest>
#include <cmath>
#include <map>

#include "controls/numbers.h"
#include "pictures/pie_renderer.h"
#include "pictures/sector_wheel.h"
#include "pie_regions.h"
#include "testkit.h"

using namespace rc;
using rc::testing::App;
using rc::testing::Background;
using rc::testing::Blue;
using rc::testing::Regions;
using rc::testing::sectorRegions;
using rc::testing::White;

namespace {

// A circle the drawing must show: centre, radius and the number of blue sectors.
struct Wheel {
    double cx, cy, r, blue;
};

// The circles of k/n on a W x H picture: one in the middle up to k = n, else a row of cells.
std::vector<Wheel> wheelsOf(int W, int H, double n, double k) {
    if (!(n > 0 && k >= 0)) return {};
    if (k <= n) return {{W / 2.0, H / 2.0, H / 2.0 - 6, k}};
    const double whole = std::floor(k / n);
    const bool partial = std::fmod(k, n) != 0;
    const double cell = std::floor(W / (whole + (partial ? 1 : 0)));
    const double r = std::min(std::floor(cell / 2), H / 2.0 - 6) - 2;
    std::vector<Wheel> wheels;
    if (r <= 0) return wheels;
    for (int i = 0; i < whole + (partial ? 1 : 0); ++i)
        wheels.push_back(
            {std::floor(cell / 2) + i * cell, H / 2.0, r, i < whole ? n : k - n * whole});
    return wheels;
}

bool inside(const Wheel& w, double x, double y) {
    const double dx = x - w.cx, dy = y - w.cy;
    return dx * dx + dy * dy <= w.r * w.r;
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

// Checks everything the lesson relies on in a picture of circles of n sectors; answers what
// is wrong.
QString checkWheels(const Surface& s, Colour outline, double n, const std::vector<Wheel>& wheels) {
    const int W = s.width(), H = s.height();
    auto wheelAt = [&](double x, double y) {
        for (std::size_t i = 0; i < wheels.size(); ++i)
            if (inside(wheels[i], x, y)) return int(i);
        return -1;
    };
    // Only the four colours; near-white exactly outside the circles; an outline rim.
    const std::vector<Colour> pixels = rc::testing::pixelsOf(s);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const Colour c = pixels[std::size_t(y) * std::size_t(W) + std::size_t(x)];
            if (c != Blue && c != White && c != Background && c != outline)
                return QString("colour %1 at %2,%3").arg(c, 0, 16).arg(x).arg(y);
            const int wheel = wheelAt(x, y);
            if ((wheel < 0) != (c == Background))
                return QString("background wrong at %1,%2").arg(x).arg(y);
            if (wheel < 0) continue;
            const Wheel& w = wheels[std::size_t(wheel)];
            if (!inside(w, x - 1, y) || !inside(w, x + 1, y) || !inside(w, x, y - 1) ||
                !inside(w, x, y + 1)) {
                if (c != outline) return QString("rim open at %1,%2").arg(x).arg(y);
            }
        }
    }
    // Every blue or white region lies in one sector of one circle, has that sector's colour,
    // and is that sector's only region.
    const Regions regions = sectorRegions(s);
    std::vector<int> wheelOf(regions.all.size(), -2);
    std::vector<long long> sectorOf(regions.all.size(), -1);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const int id = regions.at(x, y);
            if (id < 0) continue;
            const int wheel = wheelAt(x, y);
            if (wheelOf[std::size_t(id)] == -2) wheelOf[std::size_t(id)] = wheel;
            if (wheelOf[std::size_t(id)] != wheel)
                return QString("region %1 spans two circles").arg(id);
            const long long sector = sectorAt(wheels[std::size_t(wheel)], n, x, y);
            if (sector < 0) continue;
            if (sectorOf[std::size_t(id)] < 0) sectorOf[std::size_t(id)] = sector;
            if (sectorOf[std::size_t(id)] != sector)
                return QString("region at %1,%2 spans sectors %3 and %4")
                    .arg(x)
                    .arg(y)
                    .arg(sectorOf[std::size_t(id)])
                    .arg(sector);
        }
    }
    std::map<std::pair<int, long long>, long long> sizeOf;  // (circle, sector) -> region size
    for (std::size_t id = 0; id < regions.all.size(); ++id) {
        const auto& region = regions.all[id];
        if (region.size <= 0) return QString("region %1: flood fill and pixels disagree").arg(id);
        if (sectorOf[id] < 0) continue;
        const Wheel& w = wheels[std::size_t(wheelOf[id])];
        const Colour expected = double(sectorOf[id]) + 1 <= w.blue ? Blue : White;
        if (region.colour != expected)
            return QString("sector %1 of circle %2 has the wrong colour")
                .arg(sectorOf[id])
                .arg(wheelOf[id]);
        if (!sizeOf.emplace(std::make_pair(wheelOf[id], sectorOf[id]), region.size).second)
            return QString("sector %1 of circle %2 is cut in two")
                .arg(sectorOf[id])
                .arg(wheelOf[id]);
    }
    // Sectors wide enough to hold colour show it: most of their area is theirs (the outline
    // takes about a pixel along each radius and the rim, and the crowded centre).
    for (std::size_t i = 0; i < wheels.size(); ++i) {
        const Wheel& w = wheels[i];
        const double step = 6.28318 / n;
        const double room = w.r * w.r * step / 2 - 3 * w.r - 1.5 * w.r * step - 4 / step;
        const bool whole =
            w.cx - w.r >= 0 && w.cx + w.r <= W - 1 && w.cy - w.r >= 0 && w.cy + w.r <= H - 1;
        if (w.r * step < 6 || room <= 0 || !whole) continue;
        for (long long sector = 0; sector < (long long)n; ++sector) {
            const auto found = sizeOf.find({int(i), sector});
            if (found == sizeOf.end() || double(found->second) < 0.8 * room)
                return QString("sector %1 of circle %2 shows too little").arg(sector).arg(i);
        }
    }
    return {};
}

QString checkDrawing(const Surface& s, Colour outline, double n, double k) {
    return checkWheels(s, outline, n, wheelsOf(s.width(), s.height(), n, k));
}

// The drawable size of the pictures on a screen of w x h pixels, by the layout rules.
QSize pictureSize(int w, int h) {
    const double areaWidth = 15.0 * w - 1845 - 80, areaHeight = 15.0 * h - 890 - 1000;
    const double width = areaWidth - 120 - 1815 - 20;
    const double height = double(halved(areaHeight)) - 200;
    return {int(std::lround(width / 15)) - 4, int(std::lround(height / 15)) - 4};
}

void setFraction(App& app, const QString& labels, double k, double n) {
    app.label(labels + "(0)").setCaption(Str(k));
    app.label(labels + "(1)").setCaption(Str(n));
}

}  // namespace

class TestPictures : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { rc::testing::prepareApplication(); }

    // The contract with the lesson, on the pictures of three screens and a wide, low one:
    // every n up to 150 (every other one on the wide, low picture, every tenth on the largest),
    // 500 and 2000, with a few numerators each.
    void contract_data() {
        QTest::addColumn<int>("screenWidth");
        QTest::addColumn<int>("screenHeight");
        QTest::addColumn<int>("every");  // n sampled every so many (1: all)
#ifdef NDEBUG
        const int small = 1, large = 10, firstLarge = 8;
#else
        const int small = 5, large = 50, firstLarge = 3;  // the sanitizer build is far slower
#endif
        QTest::addColumn<int>("first");  // and every n up to this one
        QTest::newRow("800x600") << 800 << 600 << small << 8;
        QTest::newRow("1920x1080") << 1920 << 1080 << small << 8;
        QTest::newRow("3840x2160") << 3840 << 2160 << large << firstLarge;
        QTest::newRow("3840x600 wide and low") << 3840 << 600 << small * 2 << 8;
    }

    void contract() {
        QFETCH(int, screenWidth);
        QFETCH(int, screenHeight);
        QFETCH(int, every);
        QFETCH(int, first);
        App app({screenWidth, screenHeight, 96});
        PictureBox& picture1 = app.picture("Picture1");
        QCOMPARE(QSize(picture1.ScaleWidth(), picture1.ScaleHeight()),
                 pictureSize(screenWidth, screenHeight));
        const Colour outline = resolved(picture1.ForeColor());
        std::vector<double> denominators;
        for (int n = 1; n <= 150; ++n)
            if (n <= first || n % every == 0 || n == 150) denominators.push_back(n);
        denominators.push_back(500);
        denominators.push_back(2000);
        // Cells under 6 pixels hold no circle (100/1 at 800 x 600); at 6, circles of radius 1.
        if (screenWidth == 800) {
            for (double k : {100.0, 89.0}) {
                setFraction(app, "Label1", k, 1);
                app.form().pies().DrawPies1();
                QVERIFY(checkDrawing(picture1.surface(), outline, 1, k).isEmpty());
            }
        }
        for (double n : denominators) {
            // Picture1 takes denominators up to 150, Picture2 the larger ones.
            const bool first = n <= 150;
            PictureBox& picture = first ? picture1 : app.picture("Picture2");
            for (double k : {std::floor(n / 3), n, 3 * n + std::max(1.0, std::floor(n / 2))}) {
                setFraction(app, first ? "Label1" : "Label2", k, n);
                if (first)
                    app.form().pies().DrawPies1();
                else
                    app.form().pies().DrawPies2();
                const QString problem = checkDrawing(picture.surface(), outline, n, k);
                QVERIFY2(problem.isEmpty(),
                         qPrintable(QString("%1/%2: %3").arg(k).arg(n).arg(problem)));
                QCOMPARE(first ? app.form().state().WholeUnits1 : app.form().state().WholeUnits2,
                         std::floor(k / n));
            }
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
        const std::pair<const char*, const char*> fractions[] = {
            {"1", "2"},     {"0", "5"},     {"3", "3"},   {"5", "4"},        {"7", "1"},
            {"100", "1"},   {"2000", "20"}, {"47", "2"},  {"1", "10000000"}, {"1", "0"},
            {"150", "149"}, {"33", "7"},    {"16", "16"}, {"-1", "4"}};
        for (int w : {1, 2, 3, 5, 13, 14, 27, 40, 61, 100, 257, 537}) {
            for (int h : {1, 2, 3, 4, 12, 13, 14, 15, 26, 27, 60, 101, 220, 301}) {
                picture.Move(0, 0, (w + 4) * 15.0, (h + 4) * 15.0);
                QCOMPARE(picture.ScaleWidth(), w);
                for (const auto& [k, n] : fractions) {
                    numerator.setCaption(k);
                    denominator.setCaption(n);
                    double fastWhole = -1, literalWhole = -2;
                    PieRenderer::DrawPies(picture, numerator, denominator, fastWhole);
                    const QImage fast = picture.surface().image().copy();
                    PieRenderer::DrawPies(picture, numerator, denominator, literalWhole,
                                          PieRenderer::Method::Literal);
                    QVERIFY2(fast == picture.surface().image(),
                             qPrintable(QString("%1/%2 on %3x%4").arg(k, n).arg(w).arg(h)));
                    QCOMPARE(fastWhole, literalWhole);
                }
            }
        }
    }

    // Circles cut by the picture's edges, or off centre by fractions of a pixel, keep their
    // sectors closed; and a circle moved by whole pixels is the same picture.
    void wheelsOnTheirOwn() {
        Surface surface;
        const Colour outline = RGB(0, 0, 0);
        const struct {
            double cx, cy, r, n;
        } cases[] = {{-20, 50, 60, 7},
                     {-20, 50, 40, 7},
                     {135, 50, 40, 6},
                     {130, 50, 45, 12},
                     {60, -30, 70, 5},
                     {60, 140, 50, 150},
                     {60.25, 50.75, 40, 9},
                     {0, 0, 100, 3},
                     {119, 99, 30, 1},
                     {60, 50, 200, 40},
                     {59.5, 49.5, 44, 2000},
                     // sectors under two pixels wide from the crowded middle to the rim
                     {-20.25, 50.5, 60, 300},
                     {100.5, 30.25, 50, 250},
                     {60, 50, 45, 200}};
        for (const auto& c : cases) {
            for (double k : {0.0, 1.0, std::floor(c.n / 2), c.n}) {
                surface.resize(120, 100, Background);
                drawSectorWheel(surface, c.cx, c.cy, c.r, c.n, k, Blue, White, outline);
                const QString problem = checkWheels(surface, outline, c.n, {{c.cx, c.cy, c.r, k}});
                QVERIFY2(problem.isEmpty(), qPrintable(QString("(%1, %2) r %3, %4/%5: %6")
                                                           .arg(c.cx)
                                                           .arg(c.cy)
                                                           .arg(c.r)
                                                           .arg(k)
                                                           .arg(c.n)
                                                           .arg(problem)));
            }
        }
        Surface moved;
        for (double n : {3.0, 16.0, 150.0, 300.0, 2000.0}) {
            surface.resize(300, 120, Background);
            moved.resize(300, 120, Background);
            drawSectorWheel(surface, 60.5, 60, 50, n, n / 3, Blue, White, outline);
            drawSectorWheel(moved, 60.5 + 173, 60, 50, n, n / 3, Blue, White, outline);
            QCOMPARE(moved.image().copy(173, 0, 127, 120), surface.image().copy(0, 0, 127, 120));
        }
    }

    // Captions that read 0 or negative draw nothing and count no circle, however they got
    // there; huge denominators and numerators draw without failing.
    void captionsBeyondTheLessons_data() {
        QTest::addColumn<QString>("fraction");
        QTest::addColumn<bool>("drawsCircle");
        QTest::newRow("denominator 0") << QString("1/0") << false;
        QTest::newRow("numerator negative") << QString("-1/4") << false;
        QTest::newRow("denominator without number") << QString("1/?") << false;
        QTest::newRow("ten million") << QString("1/10000000") << true;
        QTest::newRow("beyond doubles") << QString("1E+999/1E+999") << true;
        QTest::newRow("huge numerator") << QString("1E+15/1") << false;
    }
    void captionsBeyondTheLessons() {
        QFETCH(QString, fraction);
        QFETCH(bool, drawsCircle);
        const QString numerator = fraction.section('/', 0, 0),
                      denominator = fraction.section('/', 1);
        App app({3840, 2160, 96});
        PictureBox& picture = app.picture("Picture2");
        app.label("Label2(0)").setCaption(numerator);
        app.label("Label2(1)").setCaption(denominator);
        app.form().pies().DrawPies2();
        const double n = Val(denominator), k = Val(numerator);
        QCOMPARE(app.form().state().WholeUnits2, n > 0 && k >= 0 ? std::floor(k / n) : 0.0);
        const Colour outline = resolved(picture.ForeColor());
        const int W = picture.ScaleWidth(), H = picture.ScaleHeight();
        long long circle = 0;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                const Colour c = picture.Point(x, y);
                // So many sectors are far thinner than a pixel: the disc is all outline.
                QVERIFY(c == Background || c == outline);
                circle += c == outline;
            }
        }
        QCOMPARE(circle > 0, drawsCircle);
    }

    // 1990/2000 on the largest picture: sectors about a pixel wide at the rim, thinner inside.
    // The crowded middle is outline; towards the rim outline and blue share the disc, and the
    // last ten sectors, white, do not turn blue.
    void sectorsThinnerThanAPixel() {
        App app({3840, 2160, 96});
        PictureBox& picture = app.picture("Picture2");
        app.label("Label2(0)").setCaption("1990");
        app.label("Label2(1)").setCaption("2000");
        app.form().pies().DrawPies2();
        const int W = picture.ScaleWidth(), H = picture.ScaleHeight();
        const Wheel wheel{W / 2.0, H / 2.0, H / 2.0 - 6, 1990};
        const Colour outline = resolved(picture.ForeColor());
        long long blue = 0, middle = 0;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                const Colour c = picture.Point(x, y);
                const double d = std::hypot(x - wheel.cx, y - wheel.cy);
                if (d < wheel.r / 3) middle += c != outline;
                if (c == Blue) ++blue;
                if (c == White) {
                    const long long sector = sectorAt(wheel, 2000, x, y);
                    QVERIFY(sector < 0 || sector >= 1990);
                }
            }
        }
        QCOMPARE(middle, 0LL);
        QVERIFY(blue > 1000);
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
