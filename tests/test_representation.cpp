// "Representación gráfica": clicks on the sectors of the picture (the buttons' rules are in
// test_lessons). Runs as is and again on a display scaled 2x (QT_SCALE_FACTOR=2), where
// the picture has twice the pixels each way and the pointer is mapped to them.
#include <QTest>
#include <cmath>

#include "controls/numbers.h"
#include "pages.h"

using namespace rc;
using rc::testing::App;
using rc::testing::Background;
using rc::testing::Blue;
using rc::testing::sectorRegions;
using rc::testing::White;

namespace {
using Lesson = rc::testing::Opened<rc::testing::RepresentationPage>;
using rc::testing::Down;
using rc::testing::Up;
}  // namespace

class TestRepresentation : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { rc::testing::prepareApplication(); }

    // The picture's pixels are the display's own: twice as many each way at scale 2, shown
    // one for one, not enlarged.
    void pictureIsCrisp() {
        Lesson lesson;
        QWidget* widget = lesson->picture.widget();
        const double ratio = widget->devicePixelRatioF();
        QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        const QSize inner = widget->size() - QSize(4, 4);
        QCOMPARE(lesson->picture.ScaleWidth(), int(std::lround(inner.width() * ratio)));
        QCOMPARE(lesson->picture.ScaleHeight(), int(std::lround(inner.height() * ratio)));
        QImage shown = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.width(), int(std::lround(widget->width() * ratio)));
        shown.setDevicePixelRatio(1);
        const QImage drawn = lesson->image();
        const int offset = int(PictureBox::border * ratio);
        QCOMPARE(shown.copy(offset, offset, drawn.width(), drawn.height()), drawn);
    }

    // Clicks change the fraction without a drawing, so WholeUnits1 keeps the last drawing's
    // count: from 32/2 a click gives 31/2, the next "+" is refused but draws (15 circles
    // now), and the one after raises the numerator.
    void wholeCountComesFromTheLastDrawing() {
        Lesson lesson;
        lesson->stepNumerator(Up, 31);
        const QPoint pixel = lesson->sectorPixel(0, 15, 16);
        QCOMPARE(lesson->at(pixel), Blue);
        lesson->clickPixel(pixel);
        QCOMPARE(lesson->fraction(), "31/2");
        QCOMPARE(lesson->at(pixel), White);
        QCOMPARE(lesson->wholeUnits(), 16.0);
        lesson->stepNumerator(Up);
        QCOMPARE(lesson->fraction(), "31/2");
        QCOMPARE(lesson->wholeUnits(), 15.0);
        // Drawn anew: the white half is now the last sector of the last circle.
        QCOMPARE(lesson->at(lesson->sectorPixel(0, 15, 16)), Blue);
        QCOMPARE(lesson->at(lesson->sectorPixel(1, 15, 16)), White);
        lesson->stepNumerator(Up);
        QCOMPARE(lesson->fraction(), "32/2");
    }

    // Clicking the third sector of 1/4 colours it alone; the next drawing puts the blue
    // sectors together from 3 o'clock.
    void clickThirdSector() {
        Lesson lesson;
        lesson->reach(1, 4);
        const QPoint third = lesson->sectorPixel(2);
        QCOMPARE(lesson->at(third), White);
        lesson->clickPixel(third);
        QCOMPARE(lesson->numerator(), "2");
        QCOMPARE(lesson->at(lesson->sectorPixel(0)), Blue);
        QCOMPARE(lesson->at(lesson->sectorPixel(1)), White);
        QCOMPARE(lesson->at(third), Blue);
        QCOMPARE(lesson->at(lesson->sectorPixel(3)), White);
        const auto regions = sectorRegions(lesson->picture.surface());
        QCOMPARE(regions.count(Blue), 2);
        QCOMPARE(regions.count(White), 2);
        lesson->stepNumerator(Up);
        QCOMPARE(lesson->fraction(), "3/4");
        for (int sector = 0; sector < 4; ++sector)
            QCOMPARE(lesson->at(lesson->sectorPixel(sector)), sector < 3 ? Blue : White);
        // And back: a blue sector clicked turns white and lowers the numerator.
        lesson->clickPixel(lesson->sectorPixel(1));
        QCOMPARE(lesson->numerator(), "2");
        QCOMPARE(lesson->at(lesson->sectorPixel(1)), White);
    }

    // Only the left button counts, with or without Shift; outlines and the background are
    // not sectors.
    void clicksThatChangeNothing() {
        Lesson lesson;
        lesson->reach(1, 4);
        const QImage before = lesson->image();
        const QPoint white = lesson->sectorPixel(1);
        lesson->clickPixel(white, Qt::RightButton);
        lesson->clickPixel(white, Qt::MiddleButton);
        lesson->picture.mouseDownAt(2, 0, white.x(), white.y());
        // The radius at 3 o'clock is outline; so are the rim and the centre.
        const int W = lesson->picture.ScaleWidth(), H = lesson->picture.ScaleHeight();
        const Colour outline = resolved(lesson->picture.ForeColor());
        const QPoint ray(W / 2 + H / 4, H / 2);
        QCOMPARE(lesson->at(ray), outline);
        lesson->picture.mouseDownAt(1, 0, ray.x(), ray.y());
        const QPoint centre(int(std::ceil(W / 2.0)), H / 2);
        QCOMPARE(lesson->at(centre), outline);
        lesson->picture.mouseDownAt(1, 0, centre.x(), centre.y());
        for (QPoint background : {QPoint(2, 2), QPoint(W - 2, H / 2), QPoint(W / 2, 2)}) {
            QCOMPARE(lesson->at(background), Background);
            lesson->clickPixel(background);
        }
        QCOMPARE(lesson->numerator(), "1");
        QCOMPARE(lesson->image(), before);
        lesson->clickPixel(white, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(lesson->numerator(), "2");
        QCOMPARE(lesson->at(white), Blue);
    }

    // The pointer position is rounded to the nearest pixel: just left of a sector's first
    // pixel counts as that pixel, further left as the outline before it.
    void pointerRoundsToNearestPixel() {
        Lesson lesson;
        lesson->reach(1, 4);
        const QPoint inside = lesson->sectorPixel(1);
        int x = inside.x();
        const Colour outline = resolved(lesson->picture.ForeColor());
        while (lesson->picture.Point(x - 1, inside.y()) != outline) --x;  // first white pixel
        QCOMPARE(lesson->picture.Point(x, inside.y()), White);
        lesson->picture.mouseDownAt(1, 0, x - 0.6, inside.y());
        QCOMPARE(lesson->numerator(), "1");
        lesson->picture.mouseDownAt(1, 0, x - 0.4, inside.y() + 0.4);
        QCOMPARE(lesson->numerator(), "2");
        QCOMPARE(lesson->at(inside), Blue);
    }

    // Each white sector of the partial circle of 5/4 turns blue in turn; the numerator can rise
    // to the number of sectors drawn, and the whole-circle count stays that of the drawing.
    void fillThePartialCircle() {
        Lesson lesson;
        lesson->reach(5, 4);
        for (int sector = 1; sector < 4; ++sector) {
            const QPoint pixel = lesson->sectorPixel(sector, 1, 2);
            QCOMPARE(lesson->at(pixel), White);
            lesson->clickPixel(pixel);
            QCOMPARE(lesson->at(pixel), Blue);
            QCOMPARE(lesson->numerator(), Str(5 + sector));
        }
        QCOMPARE(sectorRegions(lesson->picture.surface()).count(White), 0);
        QCOMPARE(lesson->wholeUnits(), 1.0);
        lesson->clickPixel(lesson->sectorPixel(3, 0, 2));  // a blue sector of the first circle
        QCOMPARE(lesson->numerator(), "7");
    }
};

QTEST_MAIN(TestRepresentation)
#include "test_representation.moc"
