// The four lessons as a pupil's stories: each row a list of presses and clicks with what must
// show after them, named after what it catches (the words are in pupil.h). Runs as is and
// again on a display scaled 2x (QT_SCALE_FACTOR=2), where the pictures have twice the pixels
// each way and the pointer is mapped to them.
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

class TestLessons : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    void stories_data() {
        storyColumn();
        // Representación gráfica.
        story("numerator down to 0, a refused press still draws; the picture says each drawing",
              {"menu0 => described1=1 de 2 partes coloreada, en 1 círculo",
               "n+ => fraction=2/2; blue1=2; described1=2 de 2 partes coloreadas, en 1 círculo",
               "n-*2 stain n- => fraction=0/2; stained1=no; white1=2; "
               "described1=0 de 2 partes coloreadas, en 1 círculo"});
        story("denominator between 2 and 150, refused presses draw",
              {"menu0 stain d- => fraction=1/2; stained1=no",
               "d+*148 stain d+ => fraction=1/150; stained1=no", "d- => fraction=1/149"});
        story("16 whole circles stop the numerator's + and the denominator's -",
              {"menu0 n+*31 => fraction=32/2; whole1=16; blue1=32; "
               "described1=32 de 2 partes coloreadas, en 16 círculos",
               "n+ d- => fraction=32/2"});
        story("from 15 circles the denominator's - still goes, to 23",
              {"menu0 d+ n+*46 => fraction=47/3; whole1=15",
               "d- => fraction=47/2; whole1=23; blue1=47; white1=1", "n+ d- => fraction=47/2",
               "d+ n+ => fraction=48/3", "d- n+ => fraction=48/3", "n- => fraction=47/3"});
        // Amplificar and the fraction panel.
        story("design captions until the menu; 1/2 x 1; 1/2 x 3",
              {"=> top=1,1,1,1; bottom=2,1,1,1",
               "menu1 => top=1,1,1 X 1,1; bottom=2,1,2 X 1,2; panel=1/2",
               "x3 => top=1,3,1 X 3,3; bottom=2,3,2 X 3,6; panel=3/6; blue2=3; white2=3"});
        story("base between 0..200 and 2..200; the panel stops at 16 circles",
              {"menu1 x4 a-*2 => top=0,4,0 X 4,0; panel=0/8; blue2=0; white2=8",
               "b- => bottom=2,4,2 X 4,8", "a+*201 b+*199 => panel=800/800",
               "b-*198 x10 => top=200,10,200 X 10,2000; bottom=2,10,2 X 10,20; whole2=100",
               "p+ q- => panel=2000/20"});
        story("the panel's denominator moves the base, not the working",
              {"menu1 b+*18 x10 => panel=10/200", "q+ => panel=10/200",
               "q- => panel=10/199; bottom=199,10,20 X 10,200",
               "menu1 q- b+ b- => bottom=1988,10,1988 X 10,19880"});
        story("the panel's + stops at 150", {"menu1 q+*150 => panel=1/150; bottom=150,1,2 X 1,2"});
        story("the panel's numerator stops at 16 circles, and its denominator's -",
              {"menu1 b+ p+*60 => panel=48/3; whole2=16; blue2=48", "q- => panel=48/3",
               "p- q- => panel=47/2; bottom=2,1,3 X 1,3", "p-*50 => panel=0/2; top=1,1,1 X 1,1"});
        // Simplificar.
        story("16/32 by 2, by 3 refused; the message stays until a division works",
              {"menu2 => steps=", ":2 => steps=16 : 2/32 : 2 = 8/16; panel=8/16; blue2=8; white2=8",
               "stain :3 => steps=; message=shown; panel=8/16; stained2=yes; base=16/32",
               "s+ t- => message=shown; panel=17/31; blue2=17", "t+ s- :2 => message=hidden",
               ":2 => steps=16 : 2/32 : 2 = 8/16", "s+ => steps=; panel=17/32"});
        story("0/32, 17/34 only by 17, 2/2 as one blue disc",
              {"menu2 s-*16 :2 => steps=0 : 2/32 : 2 = 0/16; blue2=0; white2=16",
               "s+*17 t+*2 :13 => message=shown", ":17 => steps=17 : 17/34 : 17 = 1/2; panel=1/2",
               "s-*15 t-*32 :2 => steps=2 : 2/2 : 2 = 1/1; whole2=1; blue2=1; white2=0; "
               "described2=1 de 1 parte coloreada, en 1 círculo"});
        story(
            "refused base presses still put the base in the panel",
            {"menu2 s-*16 :2 stain s- => base=0/32; panel=0/32; stained2=no; steps=0 : 2/32 : 2 = "
             "0/16",
             "t-*31 => base=0/2", "s+*201 t+*199 => base=200/200",
             ":5 stain t+ => panel=200/200; stained2=no; steps=200 : 5/200 : 5 = 40/40"});
        story("the panel is shared; every menu click puts the amplify result back",
              {"menu1 x3 menu2 => panel=3/6", ":3 => message=shown; panel=3/6",
               "menu1 => message=shown", "b- => message=hidden",
               "menu2 :3 menu1 a+ => message=hidden", "menu2 :2 p+ => panel=9/16; blue2=9",
               "q+ => bottom=17,3,2 X 3,6",
               "menu0 => panel=6/51; base=16/32; steps=16 : 2/32 : 2 = 8/16",
               "menu2 s-*14 t-*30 :2 q- => panel=1/1", "q+ => panel=1/2; bottom=2,3,17 X 3,51"});
        // Suma y resta.
        story(
            "1/2 - 1/3 to sixths; Muy bien after every click that leaves both right",
            {"deal1/2,1/3 menu3 => given=1/2 - 1/3; sum=1/2 - 1/3; result=/ hidden; arrows=&; "
             "pies=teal|magenta",
             "A*2 => sum=3/6 - 1/3; arrows= X 3| X 3&; described2=Primera fracción: 3 de 6 partes "
             "coloreadas. Segunda fracción: 1 de 3 partes coloreada",
             "B => sum=3/6 - 2/6; arrows=& X 2| X 2; result=/; pies=blue|blue; colours=green green",
             "r+ R+5 => result=1/5; colours=blue red; muybien=0", "R+ => result=1/6; muybien=1",
             "r+5 r-*5 => result=1/6; muybien=2",
             "B- => sum=3/6 - 1/3; result=/ hidden; pies=teal|magenta",
             "B- => sum=3/6 - 1/3; arrows=& X 1| X 1"});
        story("the operator: plus unless B is smaller",
              {"deal1/3,1/2 menu3 => given=1/3 + 1/2", "deal1/2,2/4 menu3 => given=1/2 + 2/4",
               "deal5/5,12/12 menu3 => given=5/5 + 12/12; pies=teal|magenta"});
        story("same denominators at once; a larger common one is right too",
              {"deal3/7,2/7 menu3 => result=/; pies=blue|blue",
               "r+ R+ R+5 R+ => result=1/7; muybien=1", "A B => sum=6/14 - 4/14",
               "r+*2 R+5*2 R+*4 => result=2/14; muybien=2", "R- => colours=blue red"});
        story("-1 on an unset number; every menu click deals afresh",
              {"deal1/4,3/4 menu3 r- => result=-1/; colours=red green",
               "A*3 deal2/5,1/6 menu3 => sum=2/5 - 1/6; arrows=&; result=/ hidden"});
        // Clicks on the sectors of "Representación gráfica".
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
    void stories() { tellTheStory(); }

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
        // Around it every device pixel is the sunken border's, none left unpainted.
        const QRect picture(offset, offset, drawn.width(), drawn.height());
        const QList<QRgb> border{qRgb(128, 128, 128), qRgb(64, 64, 64), qRgb(255, 255, 255),
                                 qRgb(212, 208, 200)};
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (!picture.contains(x, y)) QVERIFY(border.contains(shown.pixel(x, y)));
    }

    // Clicks on the outlines (a radius, the centre) and on the background change nothing.
    void pressesThatChangeNothing() {
        Lesson lesson;
        const QImage before = lesson.picture.surface().image().copy();
        const int W = lesson.picture.ScaleWidth(), H = lesson.picture.ScaleHeight();
        for (QPoint p : {QPoint(W / 2 + H / 4, H / 2), QPoint(int(std::ceil(W / 2.0)), H / 2)}) {
            QCOMPARE(lesson.at(p), Outline);  // the radius at 3 o'clock, the centre
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
        while (lesson.picture.Point(x - 1, inside.y()) != Outline) --x;  // first white pixel
        QCOMPARE(lesson.picture.Point(x, inside.y()), White);
        lesson.picture.mouseDownAt(1, 0, x - 0.6, inside.y());
        tell(lesson.pupil, {"=> fraction=1/4"});
        lesson.picture.mouseDownAt(1, 0, x - 0.4, inside.y() + 0.4);
        tell(lesson.pupil, {"=> fraction=2/4; sector1=blue"});
    }
};

QTEST_MAIN(TestLessons)
#include "test_lessons.moc"
