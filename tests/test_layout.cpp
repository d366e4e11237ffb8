// The sections fitted to the screen at start-up.
#include <QTest>

#include "controls/numbers.h"
#include "controls/twips.h"
#include "testkit.h"

using rc::testing::App;

class TestLayout : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { rc::testing::prepareApplication(); }

    // The worked numbers of an 800 x 600 pixel screen (12000 x 9000 twips).
    void smallScreen() {
        App app({800, 600, 96});
        for (int i = 0; i <= 8; ++i) {
            const auto& f = app.frame(QStringLiteral("Frame1(%1)").arg(i));
            QCOMPARE(f.Left(), 1845.0);
            QCOMPARE(f.Top(), 890.0);
            QCOMPARE(f.Width(), 10075.0);
            QCOMPARE(f.Height(), 7110.0);
        }
        auto& p1 = app.picture("Picture1");
        auto& p2 = app.picture("Picture2");
        QCOMPARE(p1.Width(), 8120.0);
        QCOMPARE(p1.Height(), 3355.0);
        QCOMPARE(p2.Width(), 8120.0);
        QCOMPARE(p2.Height(), 3355.0);
        QCOMPARE(p1.Left(), 1905.0);
        QCOMPARE(p2.Left(), 1905.0);
        QCOMPARE(p1.Top(), 1090.0);
        QCOMPARE(p2.Top(), 4475.0);
        QCOMPARE(app.frame("Frame2").Left(), 10045.0);
        QCOMPARE(app.frame("Frame2").Top(), 1090.0);
        QCOMPARE(app.frame("Frame3").Left(), 10045.0);
        QCOMPARE(app.frame("Frame3").Top(), 4475.0);
        QCOMPARE(app.frame("Frame10").Left(), 1550.0);
        QCOMPARE(app.frame("Frame10").Top(), 1327.0);
        // Each fraction editor ends 60 twips inside the section area.
        const auto& area = app.frame("Frame1(0)");
        const auto& editor = app.frame("Frame2");
        QCOMPARE(editor.Left() + editor.Width(), area.Left() + area.Width() - 60);
        // Geometry reaches the widgets in pixels: 15 twips each at 96 dpi.
        QCOMPARE(p1.widget()->geometry(), QRect(127, 73, 541, 224));
    }

    // Inner frames: centred in the area, the lessons in its upper half, the simplify exercise
    // 200 twips from the top, the add/subtract lesson's frame keeping its design Left.
    void innerFramesOnAFullHdScreen() {
        App app({1920, 1080, 96});
        const auto& area = app.frame("Frame1(0)");
        QCOMPARE(area.Width(), 1920 * 15.0 - 1845 - 80);
        QCOMPARE(area.Height(), 1080 * 15.0 - 890 - 1000);
        const double W = area.Width(), H = area.Height();
        auto half = [](double v) { return double(rc::halved(v)); };
        struct Expect {
            const char* frame;
            double left, top;
        };
        const auto& f = [&](const char* name) -> const rc::Frame& { return app.frame(name); };
        const Expect expected[] = {
            {"Frame10", half(W - 6975), half(H - 4455)},
            {"Frame5", half(W - 7335), half(half(H) - 2295)},
            {"Frame4", half(W - 7815), half(half(H) - 2295)},
            {"Frame7", half(W - 8895), half(H - 6015)},
            {"Frame8", half(W - 7335), half(H - 4575)},
            {"Frame9", half(W - 9255), 200},
            {"Frame6", 120, half(half(H) - 3255)},
            {"Frame11", half(W - 6855), half(H - 5055)},
        };
        for (const Expect& e : expected) {
            QCOMPARE(f(e.frame).Left(), e.left);
            QCOMPARE(f(e.frame).Top(), e.top);
        }
        QCOMPARE(app.picture("Picture1").Height(), half(H) - 200);
        QCOMPARE(app.picture("Picture2").Top(),
                 area.Top() + 200 + app.picture("Picture1").Height() + 30);
    }

    // A 640-pixel-wide screen: the add/subtract exercise is wider than the area, gets a
    // negative Left and is cut off equally on both sides; nothing fails.
    void narrowScreenClipsWideSections() {
        App app({640, 480, 96});
        const auto& area = app.frame("Frame1(5)");
        const auto& inner = app.frame("Frame7");
        QCOMPARE(area.Width(), 640 * 15.0 - 1845 - 80);
        QCOMPARE(inner.Left(), -610.0);
        const double cutLeft = -inner.Left();
        const double cutRight = inner.Left() + inner.Width() - area.Width();
        QVERIFY(std::fabs(cutLeft - cutRight) <= 15);
        app.form().Command1_Click(5);
        QVERIFY(inner.widget()->isVisible());
        // The visible part of the inner frame is the whole width of its section frame.
        const QRect shown = inner.widget()->visibleRegion().boundingRect();
        QCOMPARE(shown.width(), area.widget()->width());
        for (int i = 0; i <= 8; ++i) app.form().Command1_Click(i);
    }

    // The window, every frame and both option buttons take the form colour, dark cyan.
    void colours() {
        App app;
        const rc::Colour cyan = rc::RGB(0, 128, 128);
        QCOMPARE(app.form().BackColor(), cyan);
        for (const char* name :
             {"Frame1(0)", "Frame1(4)", "Frame1(8)", "Frame2", "Frame3", "Frame4", "Frame5",
              "Frame6", "Frame7", "Frame8", "Frame9", "Frame10", "Frame11"})
            QCOMPARE(app.frame(name).BackColor(), cyan);
        auto& options = app.controls().array<rc::OptionButton>("Option1");
        QCOMPARE(options(0).BackColor(), cyan);
        QCOMPARE(options(1).BackColor(), cyan);
        // As a pupil sees it: the section area's background pixels are that colour.
        const QImage shot = app.form().grab().toImage();
        const QRect area = app.frame("Frame1(7)").widget()->geometry();
        QCOMPARE(shot.pixelColor(area.left() + 20, area.top() + 20), QColor(0, 128, 128));
    }

    // The first screen hides both fraction editors and the upper picture; the lower picture
    // stays visible but lies behind the presentation panel, and the editors and the upper
    // picture end in front of everything.
    void visibilityAndStacking() {
        App app;
        QVERIFY(!app.frame("Frame2").Visible());
        QVERIFY(!app.frame("Frame3").Visible());
        QVERIFY(!app.picture("Picture1").Visible());
        QVERIFY(app.picture("Picture2").Visible());
        QVERIFY(app.picture("Picture2").widget()->isVisible());
        QVERIFY(app.picture("Picture2").widget()->visibleRegion().isEmpty());

        const QObjectList children = app.form().children();
        auto position = [&](const char* name) {
            for (int i = 0; i < children.size(); ++i)
                if (children[i]->objectName() == QLatin1String(name)) return i;
            return -1;
        };
        // Qt keeps siblings back to front.
        QVERIFY(position("Frame2") > position("Frame3"));
        QVERIFY(position("Frame3") > position("Picture1"));
        QVERIFY(position("Picture1") > position("Command20"));
        QVERIFY(position("Picture2") < position("Frame1(7)"));
        QVERIFY(position("Picture2") > position("Frame1(1)"));
        QVERIFY(position("Picture2") > position("Frame1(2)"));
        QVERIFY(position("Picture2") > position("Frame1(3)"));
        QVERIFY(position("Label21") < position("Frame1(3)"));
    }

    // On a screen at 144 dpi a pixel is 10 twips; geometry still reads back as set.
    void otherDensity() {
        App app({1200, 900, 144});
        QCOMPARE(rc::twips::perPixel(), 10.0);
        QCOMPARE(app.frame("Frame1(0)").Width(), 1200 * 10.0 - 1845 - 80);
        QCOMPARE(app.frame("Frame1(0)").widget()->width(), (12000 - 1845 - 80) / 10 + 1);
        rc::twips::setLogicalDpi(96);
    }
};

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
