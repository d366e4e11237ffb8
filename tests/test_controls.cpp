// The control layer: twips geometry, captions, colours as a pupil sees them, lines, arrays,
// addresses and the message box.
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "controls/form.h"
#include "controls/platform.h"
#include "controls/twips.h"
#include "testkit.h"

using namespace rc;

namespace {
// A small window made from rows like the program's own.
const std::vector<Row>& sampleRows() {
    static const std::vector<Row> rows = {
        {.name = "Frame1",
         .kind = Kind::Frame,
         .container = "Sample",
         .back = RGB(0, 128, 128),
         .elements = {{0, nullptr, {150, 150, 6000, 4500}}, {1, nullptr, {6300, 150, 1500, 1500}}}},
        {.name = "Command1",
         .kind = Kind::CommandButton,
         .container = "Frame1(0)",
         .back = RGB(255, 128, 255),
         .graphical = true,
         .elements = {{0, "Uno", {300, 300, 1695, 495}}, {1, "Dos", {300, 900, 1695, 495}}}},
        {.name = "Command2",
         .kind = Kind::CommandButton,
         .container = "Frame1(0)",
         .back = RGB(255, 0, 0),
         .elements = {{NoIndex, "+", {2400, 300, 495, 375}}}},
        {.name = "Label1",
         .kind = Kind::Label,
         .container = "Frame1(0)",
         .font = {"Arial", 18, true},
         .fore = SystemColour::HighlightText,
         .alignment = Alignment::Centre,
         .elements = {{0, "1", {300, 1800, 855, 495}},
                      {1,
                       "un texto muy largo que no cabe en la etiqueta",
                       {1500, 1800, 600, 300}}}},
        {.name = "Line1",
         .kind = Kind::Line,
         .container = "Frame1(0)",
         .fore = RGB(255, 255, 0),
         .borderWidth = 3,
         .elements = {{2, nullptr, {300, 3000, 3000, 3000}}}},
        {.name = "Line1",
         .kind = Kind::Line,
         .container = "Frame1(1)",
         .fore = RGB(255, 255, 0),
         .borderWidth = 3,
         .elements = {{7, nullptr, {150, 150, 1200, 150}}}},
        {.name = "List1",
         .kind = Kind::ListBox,
         .container = "Sample",
         .accessibleName = "Lista",
         .elements = {{NoIndex, nullptr, {150, 4800, 3000, 1500}}}},
    };
    return rows;
}

int countPixels(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
}
}  // namespace

class TestControls : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { rc::testing::prepareApplication(); }

    void geometryInTwips() {
        Form form("Sample", sampleRows());
        auto& button = form.controls().array<CommandButton>("Command1")(0);
        QCOMPARE(button.Left(), 300.0);
        QCOMPARE(button.widget()->geometry(), QRect(20, 20, 113, 33));
        // Values that fall between pixels read back exactly as set.
        button.setLeft(1001);
        button.setWidth(7);
        QCOMPARE(button.Left(), 1001.0);
        QCOMPARE(button.Width(), 7.0);
        QCOMPARE(button.widget()->x(), 67);
        button.setTop(-610);
        QCOMPARE(button.Top(), -610.0);
        QCOMPARE(button.widget()->y(), -41);
        twips::setLogicalDpi(120);
        QCOMPARE(twips::perPixel(), 12.0);
        QCOMPARE(twips::toPixels(1440), 120);
        twips::setLogicalDpi(96);
    }

    // Graphical buttons show exactly their colour, flat; the others the platform's face.
    void buttonColoursAsSeen() {
        Form form("Sample", sampleRows());
        form.show();
        auto& graphical = form.controls().array<CommandButton>("Command1")(0);
        const QImage shot = graphical.widget()->grab().toImage();
        const QColor pink(255, 128, 255);
        // Everything but the bevel and the caption is that one colour.
        QVERIFY(countPixels(shot, pink) > shot.width() * shot.height() * 7 / 10);
        QCOMPARE(shot.pixelColor(3, shot.height() / 2), pink);
        QCOMPARE(shot.pixelColor(shot.width() - 4, shot.height() / 2), pink);
        graphical.setBackColor(65280);
        const QImage green = graphical.widget()->grab().toImage();
        QCOMPARE(green.pixelColor(3, green.height() / 2), QColor(0, 255, 0));
        QCOMPARE(graphical.shownBackColor(), RGB(0, 255, 0));

        auto& standard = form.controls().single<CommandButton>("Command2");
        QCOMPARE(standard.BackColor(), RGB(255, 0, 0));
        QVERIFY(standard.shownBackColor() != RGB(255, 0, 0));
        const QImage plain = standard.widget()->grab().toImage();
        QCOMPARE(countPixels(plain, QColor(255, 0, 0)), 0);
    }

    // Labels draw only their text: the frame's colour shows around it; long captions wrap
    // and stay within the label.
    void transparentLabels() {
        Form form("Sample", sampleRows());
        form.show();
        auto& labels = form.controls().array<Label>("Label1");
        auto& frame = form.controls().array<Frame>("Frame1")(0);
        const QImage shot = frame.widget()->grab().toImage();
        const QRect box = labels(0).widget()->geometry();
        QCOMPARE(shot.pixelColor(box.left() + 1, box.bottom() - 1), QColor(0, 128, 128));
        QVERIFY(countPixels(shot.copy(box), Qt::white) > 0);  // the "1", in white
        QVERIFY(labels(1).widget()->hasHeightForWidth());
        QCOMPARE(labels(1).widget()->size(), QSize(40, 20));
        QVERIFY(labels(1).widget()->heightForWidth(40) > 20);  // wraps, and is cut off
    }

    void linesHaveTheirThicknessAndColour() {
        Form form("Sample", sampleRows());
        form.show();
        auto& line = form.controls().array<Line>("Line1")(2);
        QCOMPARE(line.BorderWidth(), 3);
        QCOMPARE(line.X2(), 3000.0);
        const QImage shot = form.controls().array<Frame>("Frame1")(0).widget()->grab().toImage();
        int thickness = 0;
        for (int y = 190; y < 210; ++y) thickness += shot.pixelColor(100, y) == QColor(255, 255, 0);
        QCOMPARE(thickness, 3);
    }

    // One handler per array, told the index of the element clicked; addresses as names.
    void arraysAndAddresses() {
        Form form("Sample", sampleRows());
        form.show();
        auto& buttons = form.controls().array<CommandButton>("Command1");
        QList<int> clicked;
        buttons.onClick([&](int index) { clicked << index; });
        QTest::mouseClick(buttons(1).widget(), Qt::LeftButton);
        QTest::mouseClick(buttons(0).widget(), Qt::LeftButton);
        QCOMPARE(clicked, (QList<int>{1, 0}));

        auto& lines = form.controls().array<Line>("Line1");
        QCOMPARE(lines.indices(), (std::vector<int>{2, 7}));
        QVERIFY(!lines.exists(3));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, lines(3));
        QCOMPARE(lines(7).widget()->parentWidget()->objectName(), QStringLiteral("Frame1(1)"));
        QCOMPARE(form.controls().find("Label1(1)")->widget()->objectName(),
                 QStringLiteral("Label1(1)"));
        QCOMPARE(form.controls().find("List1")->name(), QStringLiteral("List1"));
        QVERIFY(!form.controls().find("Line1(3)"));
        QVERIFY(!form.controls().find("Nothing"));
        QCOMPARE(form.controls().find("List1")->widget()->accessibleName(),
                 QStringLiteral("Lista"));
    }

    void visibilityEnabledAndStacking() {
        Form form("Sample", sampleRows());
        form.show();
        auto& button = form.controls().array<CommandButton>("Command1")(0);
        button.setVisible(false);
        QVERIFY(!button.Visible() && !button.widget()->isVisible());
        button.setVisible(true);
        QVERIFY(button.widget()->isVisible());
        button.setEnabled(false);
        QVERIFY(!button.Enabled());
        bool clicked = false;
        button.onClick([&] { clicked = true; });
        QTest::mouseClick(button.widget(), Qt::LeftButton);
        QVERIFY(!clicked);
        // Labels and lines lie behind the windowed controls of their container.
        const QObjectList order = form.controls().array<Frame>("Frame1")(0).widget()->children();
        QVERIFY(order.indexOf(form.controls().find("Label1(0)")->widget()) <
                order.indexOf(button.widget()));
        auto& frames = form.controls().array<Frame>("Frame1");
        frames(0).ZOrder();
        QCOMPARE(form.children().last(), frames(0).widget());
    }

    // Writing at or beyond the end of a list appends.
    void listEntries() {
        Form form("Sample", sampleRows());
        auto& list = form.controls().single<ListBox>("List1");
        list.setList(0, "a");
        list.setList(5, "b");
        list.setList(0, "c");
        QCOMPARE(list.ListCount(), 2);
        QCOMPARE(list.List(0), QStringLiteral("c"));
        QCOMPARE(list.List(1), QStringLiteral("b"));
    }

    // The list tells of each line selected once, by mouse or keyboard, and of a click on the
    // line already selected; a line once selected stays selected.
    void listSelection() {
        Form form("Sample", sampleRows());
        form.show();
        auto& list = form.controls().single<ListBox>("List1");
        int told = 0;
        list.onClick([&] { ++told; });
        for (const char* text : {"11", "22", "33", "44", "132", "143"}) list.AddItem(text);
        auto* view = qobject_cast<QAbstractItemView*>(list.widget());
        QVERIFY(view);
        const auto clickRow = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
            const QRect cell = view->visualRect(view->model()->index(row, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, cell.center());
        };

        view->setFocus();  // focus alone selects nothing, though the first line is current
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(list.ListIndex(), -1);
        QCOMPARE(told, 0);

        clickRow(1);
        QCOMPARE(list.ListIndex(), 1);
        QCOMPARE(told, 1);  // press and release: one selection, told once
        clickRow(1);
        QCOMPARE(told, 2);
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(list.ListIndex(), 2);
        QCOMPARE(told, 3);
        QTest::keyClicks(view, "13");  // typing the start of a line
        QCOMPARE(list.ListIndex(), 4);
        QCOMPARE(told, 4);
        QTest::keyClick(view, Qt::Key_End);
        QCOMPARE(list.ListIndex(), 5);
        QCOMPARE(told, 5);

        clickRow(5, Qt::ControlModifier);  // does not leave the list without a selection
        QCOMPARE(list.ListIndex(), 5);
        QCOMPARE(view->selectionModel()->selectedRows().size(), 1);

        // A press on one line dragged to another and released there: each line told once.
        const QRect from = view->visualRect(view->model()->index(0, 0));
        const QRect to = view->visualRect(view->model()->index(3, 0));
        told = 0;
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from.center());
        QTest::mouseMove(view->viewport(), to.center());
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to.center());
        QCOMPARE(list.ListIndex(), 3);
        QCOMPARE(told, 2);

        told = 0;
        list.Clear();  // emptying the list selects nothing
        QCOMPARE(list.ListIndex(), -1);
        QCOMPARE(told, 0);
    }

    // The real message box: the application's title, the text, one OK button.
    void messageBox() {
        QString title, text;
        int buttons = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            buttons = box->buttons().size();
            box->button(QMessageBox::Ok)->click();
        });
        QtMessageBoxes().MsgBox("Muy bien");
        QCOMPARE(title, QStringLiteral("Ruedecitas"));
        QCOMPARE(text, QStringLiteral("Muy bien"));
        QCOMPARE(buttons, 1);
    }

    void randomSource() {
        ClockRandom random;
        random.Randomize();
        double low = 1, high = 0;
        for (int i = 0; i < 10000; ++i) {
            const double r = random.Rnd();
            QVERIFY(r >= 0 && r < 1);
            low = std::min(low, r), high = std::max(high, r);
        }
        QVERIFY(low < 0.01 && high > 0.99);
    }
};

QTEST_MAIN(TestControls)
#include "test_controls.moc"
