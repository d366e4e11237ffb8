// "Representación gráfica": clicks on the sectors of the picture (the buttons' rules are in
// test_lessons). Runs as is and again on a display scaled 2x (QT_SCALE_FACTOR=2), where
// the picture has twice the pixels each way and the pointer is mapped to them.
#include "pupil.h"

using namespace rc;
using namespace rc::testing;

namespace {
// The lesson opened on a fresh 800 x 600 window, on 1/4.
struct Lesson {
    Lesson() { tell(pupil, {"menu0 d+*2 => fraction=1/4"}); }
    App app;
    Pupil pupil{app};
    PictureBox& picture = app.picture("Picture1");
    Colour at(QPoint p) const { return picture.Point(p.x(), p.y()); }
};
}  // namespace

class TestRepresentation : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    void sectorClicks_data() {
        storyColumn();
        story("a click colours the third sector of 1/4 alone; a drawing puts the blue together",
              {"menu0 d+*2 => sector2=white",
               "tap2 => fraction=2/4; sector0=blue; sector1=white; sector2=blue; sector3=white; "
               "blue1=2; white1=2; described1=2 de 4 partes coloreadas, en 1 círculo",
               "n+ => fraction=3/4; sector0=blue; sector1=blue; sector2=blue; sector3=white",
               "tap1 => fraction=2/4; sector1=white"});
        story("only the left button counts, with or without Shift",
              {"menu0 d+*2 righttap1 middletap1 => fraction=1/4; sector1=white",
               "shifttap1 => fraction=2/4; sector1=blue"});
        story("the whole count is the last drawing's: from 32/2 a click, a refused + that draws",
              {"menu0 n+*31 => sector0@15/16=blue",
               "tap0@15/16 => fraction=31/2; sector0@15/16=white; whole1=16",
               "n+ => fraction=31/2; whole1=15; sector0@15/16=blue; sector1@15/16=white",
               "n+ => fraction=32/2"});
        story("the white sectors of the partial circle of 5/4 turn blue in turn",
              {"menu0 d+*2 n+*4 tap1@1/2 => fraction=6/4; sector1@1/2=blue",
               "tap2@1/2 tap3@1/2 => fraction=8/4; white1=0; whole1=1; "
               "described1=8 de 4 partes coloreadas, en 2 círculos",
               "tap3@0/2 => fraction=7/4; sector3@0/2=white"});
    }
    void sectorClicks() { tellTheStory(); }

    // The picture's pixels are the display's own: twice as many each way at scale 2, shown
    // one for one, not enlarged.
    void pictureIsCrisp() {
        Lesson lesson;
        QWidget* widget = lesson.picture.widget();
        const double ratio = widget->devicePixelRatioF();
        QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        const QSize inner = widget->size() - QSize(4, 4);
        QCOMPARE(lesson.picture.ScaleWidth(), int(std::lround(inner.width() * ratio)));
        QCOMPARE(lesson.picture.ScaleHeight(), int(std::lround(inner.height() * ratio)));
        QImage shown = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.width(), int(std::lround(widget->width() * ratio)));
        shown.setDevicePixelRatio(1);
        const QImage& drawn = lesson.picture.surface().image();
        const int offset = int(PictureBox::border * ratio);
        QCOMPARE(shown.copy(offset, offset, drawn.width(), drawn.height()), drawn);
    }

    // Outlines (a radius, the centre), the background and a right button told to the handler
    // change nothing.
    void pressesThatChangeNothing() {
        Lesson lesson;
        const QImage before = lesson.picture.surface().image().copy();
        const int W = lesson.picture.ScaleWidth(), H = lesson.picture.ScaleHeight();
        const Colour outline = resolved(lesson.picture.ForeColor());
        const QPoint white = lesson.pupil.sectorPixel(1);
        lesson.picture.mouseDownAt(2, 0, white.x(), white.y());
        for (QPoint p : {QPoint(W / 2 + H / 4, H / 2), QPoint(int(std::ceil(W / 2.0)), H / 2)}) {
            QCOMPARE(lesson.at(p), outline);  // the radius at 3 o'clock, the centre
            lesson.picture.mouseDownAt(1, 0, p.x(), p.y());
        }
        for (QPoint p : {QPoint(2, 2), QPoint(W - 2, H / 2), QPoint(W / 2, 2)}) {
            QCOMPARE(lesson.at(p), Background);
            lesson.pupil.tap(p);
        }
        tell(lesson.pupil, {"=> fraction=1/4"});
        QCOMPARE(lesson.picture.surface().image(), before);
    }

    // The pointer is rounded to the nearest pixel: just left of a sector's first pixel counts
    // as that pixel, further left as the outline before it.
    void pointerRoundsToNearestPixel() {
        Lesson lesson;
        const QPoint inside = lesson.pupil.sectorPixel(1);
        int x = inside.x();
        const Colour outline = resolved(lesson.picture.ForeColor());
        while (lesson.picture.Point(x - 1, inside.y()) != outline) --x;  // first white pixel
        QCOMPARE(lesson.picture.Point(x, inside.y()), White);
        lesson.picture.mouseDownAt(1, 0, x - 0.6, inside.y());
        tell(lesson.pupil, {"=> fraction=1/4"});
        lesson.picture.mouseDownAt(1, 0, x - 0.4, inside.y() + 0.4);
        tell(lesson.pupil, {"=> fraction=2/4; sector1=blue"});
    }
};

QTEST_MAIN(TestRepresentation)
#include "test_representation.moc"
