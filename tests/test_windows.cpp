// The three windows as a pupil meets them, checked against numbers written down here from the
// windows' design, not read from the program's own tables: controls, colours as painted, help
// texts, the menu, the layout on a given screen, the placement of the other two windows; how a
// teacher keeps the results list (copied to the clipboard; saved to a file in test_desktop); the
// keyboard, and what a screen reader hears.
#include <QAccessible>
#include <QClipboard>
#include <QFrame>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEvent>
#include <QScreen>
#include <QTimer>

#include "controls/twips.h"
#include "pupil.h"

using namespace rc;
using namespace rc::testing;

namespace {

// The main window on an 800 x 600 screen with the pad and the results window opened once.
struct Windows {
    Windows() {
        app.form().numberPad().openFor(0);
        app.form().results().show();
    }
    Control& find(const QString& address) const {
        const QString window = address.section('.', 0, 0), name = address.section('.', 1);
        const Controls& controls = window == "Form2"   ? app.form().numberPad().window()->controls()
                                   : window == "Form3" ? app.form().results().window()->controls()
                                                       : app.controls();
        Control* control = controls.find(window == "Form1" ? address.mid(6) : name);
        if (!control) throw std::out_of_range(address.toStdString());
        return *control;
    }
    mutable App app;
};

// A real right click on the results list, below its lines; chooses `entry` in the menu that
// pops up and returns the menu's entries. A menu that waits for a choice is closed after a
// second and reads as no menu.
QStringList chooseInMenu(Form3& window, const QString& entry) {
    QWidget* lines = qobject_cast<QAbstractScrollArea*>(window.List1.widget())->viewport();
    QTimer guard;
    guard.callOnTimeout([] {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    guard.start(1000);
    QTest::mouseClick(window.windowHandle(), Qt::RightButton, {},
                      lines->mapTo(&window, QPoint(5, lines->height() - 5)));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return {"no menu"};
    QStringList entries;
    for (QAction* action : menu->actions()) entries << action->text();
    menu->close();
    if (const auto chosen = entries.indexOf(entry); chosen >= 0)
        menu->actions().at(chosen)->trigger();
    return entries;
}

}  // namespace

class TestWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<Windows> shared;  // one set of windows for the table of controls

  private slots:
    void initTestCase() { prepareApplication(); }
    void cleanupTestCase() { shared.reset(); }

    // About fifty controls of every window and section on an 800 x 600 screen: caption ("*": set
    // at run time), place and size in twips (a line's two ends; the place alone where the screen
    // sets the size), font.
    void controls_data() {
        tableRows(R"(
Form1.Command20    | HISTORIAL                  | 120 6600 1695 375   | MS Sans Serif 8.25
Form1.Command1(0)  | Representación gráfica     | 120 2280 1695 495   | MS Sans Serif 8.25
Form1.Command1(6)  | MULTIPLICACIÓN Y DIVISIÓN  | 120 5160 1695 495   | MS Sans Serif 8.25
Form1.Command1(7)  | PRESENTACIÓN               | 120 960 1695 375    | MS Sans Serif 8.25
Form1.Label20(1)   | Practica                   | 120 4320 1335 375   | Arial 12 bold
Form1.Label21      | *                          | 2280 120 9375 855   | Arial 9.75 bold
Form1.Command2(1)  | --                         | 1200 720 495 375    | MS Sans Serif 8.25
Form1.Label1(1)    | 2                          | 480 1320 615 495    | Arial 18 bold
Form1.Command5(0)  | +                          | 1200 1320 495 375   | MS Sans Serif 8.25
Form1.Command6(9)  | X 10                       | 6960 240 615 375    | Arial 12 bold
Form1.Command8(1)  | --                         | 840 1680 375 255    | MS Sans Serif 8.25
Form1.Label4(2)    | *                          | 3840 720 1815 495   | Arial 18 bold
Form1.Command9(4)  | : 11                       | 4200 240 735 375    | Arial 14.25 bold
Form1.Label3(2)    | Esta fracción no puede simplificarse por el número seleccionado porque el numerador o el denominador o los dos no son divisibles por el número seleccionado. | 1920 720 5175 1455  | Arial 12 bold
Form1.Command12(4) | +5                         | 6840 480 495 495    | Arial 18 bold
Form1.Command13(1) | -----                      | 5520 2400 615 255   | MS Sans Serif 8.25
Form1.Label11(1)   | Label11                    | 2880 2640 855 375   | Arial 12 bold
Form1.Command21(3) | COMPROBAR                  | 6240 1680 1215 615  | Arial 8.25
Form1.Label17(11)  | *                          | 7920 1200 855 495   | Arial 18 bold
Form1.Command17    | COMPROBAR                  | 4080 2400 4335 2415 | Arial 26.25 bold
Form1.Command14(1) | *                          | 5280 960 735 495    | Arial 14.25 bold
Form1.List1(2)     |                            | 2640 2280 975 2910  | Arial 12 bold
Form1.Label14(0)   |                            | 240 5400 1095 255   | MS Sans Serif 8.25
Form1.Command19    | COMPROBAR                  | 600 3120 3255 1215  | Arial 18 bold
Form1.Command18(4) | +5                         | 5160 3240 615 495   | Arial 18 bold
Form1.Option1(1)   | División de fracciones     | 360 720 4575 375    | Arial 14.25 bold
Form1.Label15(1)   | *                          | 2760 1680 975 495   | Arial 18 bold
Form1.Label18(0)   | Ruedecitas 1.1             | 840 360 5655 1095   | Arial 36 bold
Form1.Label18(1)   | Un programa que tiene como objetivo ayudar a comprender las fracciones | 840 1440 5655 735 | Arial 12
Form1.Label19(3)   | DENOMINADOR                | 3000 4080 3735 615  | Arial 24 bold
Form1.Label19(0)   | 3                          | 1560 720 975 1575   | Arial 72 bold
Form1.Line6(7)     |                            | 2040 2040 2055 2055 |
Form1.Line8        |                            | 600 2520 3600 2520  |
Form1.Line1(23)    |                            | 5040 1440 5040 1920 |
Form1.Line5(9)     |                            | 2400 1680 2400 1440 |
Form2.Command3     | BORRAR                     | 2880 3240 1575 615  | Arial 15.75 bold
Form2.Command2(5)  | -10                        | 3720 2520 735 615   | Arial 18 bold
Form2.Command1(9)  | 9                          | 1800 2520 735 615   | Arial 24 bold
Form2.Label1       | 0                          | 2040 120 2175 735   | Arial 36 bold
Form2.Shape1       |                            | 1800 120 2655 855   |
Form3.List1        |                            | 240 240 9255 5460   | MS Sans Serif 13.5
Form1.Picture1     |                            | 1905 1090 8120 3355 |
Form1.Picture2     |                            | 1905 4475 8120 3355 |
Form1.Frame2       |                            | 10045 1090          |
Form1.Frame3       |                            | 10045 4475          |
Form1.Frame10      |                            | 1550 1327           |
Form1.Frame9       |                            | 410 200             |
Form1.Frame6       |                            | 120 150             |
)");
    }
    void controls() {
        if (!shared) shared = std::make_unique<Windows>();
        Windows& windows = *shared;
        QFETCH(QStringList, cells);
        const QString &text = cells[0], &font = cells[2];
        const QList<double> geometry = numbersIn(cells[1]);
        Control& control = windows.find(QTest::currentDataTag());
        if (text != "*") QCOMPARE(captionOf(control), text);
        if (auto* line = dynamic_cast<Line*>(&control))
            QCOMPARE(QList<double>({line->X1(), line->Y1(), line->X2(), line->Y2()}), geometry);
        else
            QCOMPARE(
                QList<double>({control.Left(), control.Top(), control.Width(), control.Height()})
                    .mid(0, geometry.size()),
                geometry);
        if (font.isEmpty()) return;
        const QFont shown = control.widget()->font();
        const QString bold = shown.bold() ? " bold" : "";
        QCOMPARE(shown.family() + " " + QString::number(shown.pointSizeF()) + bold, font);
    }

    // What a pupil sees, read from the painted pixels of each kind of control after some presses.
    void coloursAsPainted_data() {
        tableRows(R"(
graphical button: its colour            | menu7 | Form1.Command20    | fill   | 255 128 255
graphical button: lesson colour         | menu3 | Form1.Command13(0) | fill   | 0 192 192
graphical button: pad key               | menu4 | Form2.Command2(0)  | fill   | 255 192 255
standard button: the desktop's grey     | menu0 | Form1.Command2(0)  | grey   | 0 0 0
label: white text                       | menu7 | Form1.Label18(0)   | text   | 255 255 255
label: green text                       | menu7 | Form1.Label18(1)   | text   | 192 255 192
label: pale yellow text                 | menu7 | Form1.Label18(2)   | text   | 255 255 192
label: transparent on the frame         | menu7 | Form1.Label18(0)   | corner | 0 128 128
label: teal text                        | menu3 | Form1.Label9(0)    | text   | 0 192 192
label: magenta text                     | menu3 | Form1.Label8(1)    | text   | 192 0 192
label: pad display, highlight blue      | menu4 | Form2.Label1       | text   | 10 36 106
frame: the form colour                  | menu7 | Form1.Frame10      | corner | 0 128 128
frame: grey at design, the form colour  | menu3 | Form1.Frame6       | corner | 0 128 128
option button: on the form colour       | menu6 | Form1.Option1(0)   | fill   | 0 128 128
option button: white caption            | menu6 | Form1.Option1(1)   | text   | 255 255 255
line: white bar                         | menu8 | Form1.Line8        | line   | 255 255 255
line: menu-bar colour                   | menu3 | Form1.Line1(22)    | line   | 212 208 200
line: magenta arrow, once B is amplified| menu3 B | Form1.Line4(0)   | line   | 192 0 192
shape: dark border                      | menu4 | Form2.Shape1       | line   | 0 0 0
list: its back colour                   | menu4 | Form3.List1        | corner | 0 128 128
list: white lines                       | menu4 | Form3.List1        | text   | 255 255 255
window: the pad                         | menu4 | Form2              | window | 255 255 192
window: the results                     | menu4 | Form3              | window | 255 128 255
)");
    }
    void coloursAsPainted() {
        QFETCH(QStringList, cells);
        const QString address = cells[1], probe = cells[2];
        const QList<double> rgb = numbersIn(cells[3]);
        const Colour colour = RGB(int(rgb[0]), int(rgb[1]), int(rgb[2]));
        Windows windows;
        windows.app.form().results().writeLine("3/4 X 2/5 = 6/20 ** MUY BIEN **");
        Pupil pupil(windows.app);
        tell(pupil, {cells[0]});
        if (probe == "window") {
            QWidget* window = address == "Form2"
                                  ? static_cast<QWidget*>(windows.app.form().numberPad().window())
                                  : windows.app.form().results().window();
            QCOMPARE(fromQColor(window->grab().toImage().pixelColor(3, 3)), colour);
            return;
        }
        Control& control = windows.find(address);
        const QImage image = shown(control);
        if (probe == "fill") QCOMPARE(fillShown(control), colour);
        if (probe == "grey") {
            const QColor face = toQColor(fillShown(control));
            QVERIFY(face.red() == face.green() && face.green() == face.blue() && face.red() > 200);
        }
        if (probe == "text" || probe == "line") QVERIFY(showsColour(control, colour));
        if (probe == "corner")
            QCOMPARE(fromQColor(image.pixelColor(5, image.height() - 5)), colour);
    }

    // The first screen: the random source seeded once, of the shared controls only Picture2
    // there, and behind the presentation. The worked numbers of an 800 x 600 screen, the other
    // windows' places on it, a narrow screen cutting a wide section equally on both sides, and a
    // 144 dpi screen.
    void layout() {
        Windows windows;
        App& app = windows.app;
        QCOMPARE(app.random.randomizeCalls, 1);
        QCOMPARE(sharedShown(app), "0100");
        QVERIFY(app.picture("Picture2").widget()->visibleRegion().isEmpty());
        for (int i = 0; i <= 8; ++i) {
            const Control& frame = app.at(QStringLiteral("Frame1(%1)").arg(i));
            QCOMPARE(QList<double>({frame.Left(), frame.Top(), frame.Width(), frame.Height()}),
                     QList<double>({1845, 890, 10075, 7110}));
        }
        QCOMPARE(app.picture("Picture1").widget()->geometry(), QRect(127, 73, 541, 224));
        // The nine frames share the section area: the hidden ones are hidden to screen readers
        // and let the pointer through to the one shown, a frame as Qt's own are.
        QFrame plain;
        const QAccessible::Role frameRole = QAccessible::queryAccessibleInterface(&plain)->role();
        for (int i = 0; i <= 8; ++i) {
            const QAccessibleInterface* said = QAccessible::queryAccessibleInterface(
                app.at(QStringLiteral("Frame1(%1)").arg(i)).widget());
            QCOMPARE(said->state().invisible, i != 7);
            QCOMPARE(said->role(), frameRole);
        }
        const QWidget* shown = app.at("Frame1(7)").widget();
        QCOMPARE(app.form().childAt(shown->geometry().topLeft() + QPoint(5, 5)), shown);
        // The pad under the simplify exercise; the results window over the section area, 500
        // twips lower than centred (offscreen, the desktop frames it with 2 pixels a side).
        Form2& pad = *app.form().numberPad().window();
        QCOMPARE(QPoint(int(pad.Left()), int(pad.Top())), QPoint(2250, 3750));
        Form3& results = *app.form().results().window();
        QCOMPARE(QPoint(int(results.Left()), int(results.Top())), QPoint(1995, 1950));

        App narrow({640, 480, 96});
        QCOMPARE(narrow.at("Frame7").Left(), -610.0);
        App dense({1200, 900, 144});
        QCOMPARE(twips::perPixel(), 10.0);
        QCOMPARE(dense.at("Frame1(0)").Width(), 12000.0 - 1845 - 80);
        twips::setLogicalDpi(96);
    }

    // The results window: written hidden, kept by "HISTORIAL", emptied when the pupil closes
    // it; "Copiar" in its list's context menu and the copy key copy the selected line, or every
    // line while none is selected; closing the main window ends the program with every window.
    void resultsWindow() {
        App app;
        Pupil pupil(app);
        app.form().results().writeLine("a");
        tell(pupil, {"historial historial => lines=a; results=shown"});
        Form3* window = app.form().results().window();
        QVERIFY(!window->parentWidget() && !window->isModal());
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        tell(pupil, {"=> results=none", "historial => lines=; results=shown"});
        window = app.form().results().window();
        for (const char* line : {"1/2 = 2/4 * MUY BIEN *", "b", "c"})
            app.form().results().writeLine(line);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QClipboard& clipboard = *QGuiApplication::clipboard();
        QTest::keySequence(window->List1.widget(), QKeySequence::Copy);
        QCOMPARE(clipboard.text(), "1/2 = 2/4 * MUY BIEN *\nb\nc");
        window->List1.setListIndex(1);
        QCOMPARE(chooseInMenu(*window, "Copiar"), QStringList({"Copiar", "Guardar como…"}));
        QCOMPARE(clipboard.text(), "b");
        app.form().numberPad().openFor(3);
        QPointer<QWidget> pad = app.form().numberPad().window(), list = window;
        app.form().close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(app.endRequests, 1);
        QVERIFY(!pad && !list);
    }

    // The three windows closed in every order, as the desktop closes them (its close button,
    // Alt+F4): the program ends once, with the main window, taking the others with it; a closed
    // pad opens again on the next number; after the results window closed, the next right
    // answer is a whole line in a new one.
    void closingInEveryOrder() {
        const QString line = "3/4 X 2/5 = 6/20 ** MUY BIEN **";
        std::array<int, 3> order = {0, 1, 2};  // the main window, the pad, the results
        do {
            App app;
            Pupil pupil(app);
            tell(pupil, {"product3/4,2/5 menu6 N+5 N D+5*4 check historial menu4 @2 => lines=" +
                         line + "; padwindow=shown; results=shown"});
            const QPointer<QWidget> windows[] = {&app.form(), app.form().numberPad().window(),
                                                 app.form().results().window()};
            for (int w : order) {
                if (windows[w]) windows[w]->close();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                if (app.endRequests) continue;  // the main window is gone: nothing to click
                if (w == 1) tell(pupil, {"@3 #7 => padwindow=shown; F1=?/7"});
                if (w == 2)
                    tell(pupil, {"=> results=none",
                                 "product1/3,1/3 menu6 N D+5 D*4 check => results=hidden; "
                                 "lines=1/3 X 1/3 = 1/9 ** MUY BIEN **"});
            }
            QCOMPARE(app.endRequests, 1);
            QVERIFY(!windows[1] && !windows[2]);
        } while (std::next_permutation(order.begin(), order.end()));
    }

    // A quick menu click (its release waiting behind its press) reaches the screen in one
    // repaint of the window, each control painted once, and only what differs between the two
    // sections: between Amplificar and Simplificar the picture and the panel they share are
    // not painted, nor the section area beyond its border and the two inner frames. What the
    // screen then holds is what a repaint of the whole window paints: nothing stale where the
    // last section's controls stood, nor where the presentation covered the picture at first.
    void oneRepaintPerSwitch() {
        struct Counter : QObject {
            QMap<QObject*, int> painted;
            QMap<QObject*, QRegion> regions;
            int passes = 0;
            bool eventFilter(QObject* o, QEvent* e) override {
                passes += e->type() == QEvent::UpdateRequest;
                painted[o] += e->type() == QEvent::Paint;
                if (e->type() == QEvent::Paint)
                    regions[o] += static_cast<QPaintEvent*>(e)->region();
                return false;
            }
        } counter;
        App app;
        const auto screenHolds = [&] {
            return app.form().screen()->grabWindow(app.form().winId()).toImage();
        };
        QVERIFY(QTest::qWaitForWindowExposed(&app.form()));
        QCoreApplication::processEvents();
        int previous = 7;
        for (int section : {0, 1, 2, 1, 3, 4, 5, 6, 7, 8, 1, 5, 4, 7, 2, 6, 0}) {
            QWidget* button = app.button(QStringLiteral("Command1(%1)").arg(section)).widget();
            qApp->installEventFilter(&counter);
            counter.painted.clear(), counter.regions.clear(), counter.passes = 0;
            leftClick(button);  // a quick click: the release waits behind the press
            for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
            qApp->removeEventFilter(&counter);
            QCOMPARE(counter.passes, 1);
            QCOMPARE(std::ranges::max(counter.painted.values()), 1);
            if ((previous == 1 && section == 2) || (previous == 2 && section == 1)) {
                for (const char* shared : {"Picture2", "Frame3", "Label2(0)", "Command3(0)"})
                    QVERIFY2(!counter.painted.value(app.at(shared).widget()), shared);
                const Control& area = app.at("Frame1(1)");
                qint64 painted = 0;
                for (const QRect& box : counter.regions.value(area.widget()))
                    painted += qint64(box.width()) * box.height();
                const qint64 whole = qint64(area.widget()->width()) * area.widget()->height();
                QVERIFY2(painted < whole / 2, qPrintable(QString::number(painted)));
            }
            const QImage shown = screenHolds();
            app.form().repaint();
            QCOMPARE(shown, screenHolds());
            previous = section;
        }
    }

    // Tab from PRESENTACIÓN round the window: the menu column top to bottom (on a short screen
    // too, where HISTORIAL stands lower than the section), then the shown controls of the
    // section in rows, a fraction the pupil writes numerator first (an option group is one
    // stop); Shift+Tab goes back.
    void tabOrder_data() {
        tableRows(R"(
amplify    | menu1             | x1 x2 x3 x4 x5 x6 x7 x8 x9 x10 a+ a- b+ b- p+ p- q+ q-
sum lesson | deal3/7,2/7 menu3 | r+5 r- A B r+ R+ A- B- R+5 R-
simplify   | menu4             | @0 @1 @2 @3 check0
sum        | menu5             | e0+5 e0- e1+5 e1- e2+5 e2- e3+5 e3- e0 e1 e2 e3 List1(0) List1(1) List1(2)
product    | menu6             | Option1(0) N+5 N- N D Command19 D+5 D-
)");
    }
    void tabOrder() {
        QFETCH(QStringList, cells);
        const QString menu = "menu8 menu0 menu1 menu2 menu3 menu4 menu6 menu5 historial ";
        const QStringList order = (menu + cells[1] + " menu7").split(' ');
        QStringList walk;
        for (const QString& stop : order) walk << "tab => focus=" + stop;
        walk << "backtab => focus=" + order[order.size() - 2];
        for (ScreenMetrics screen : {ScreenMetrics{800, 600, 96}, ScreenMetrics{640, 480, 96}}) {
            App app(screen);
            Pupil pupil(app);
            tell(pupil, {cells[0]});
            app.button("Command1(7)").widget()->setFocus();
            tell(pupil, walk);
        }
    }

    // Every control a pupil sees, in every section, on the pad and in the results, has a name a
    // screen reader says (lines, shapes and frames are decoration): buttons say what they do,
    // numbers are their numbers, a number still to be written says so.
    void spokenNames() {
        Windows windows;
        App& app = windows.app;
        const auto said = [](const Control* c) {
            return QAccessible::queryAccessibleInterface(c->widget())->text(QAccessible::Name);
        };
        for (int section = 0; section <= 8; ++section) {
            app.click(QStringLiteral("Command1(%1)").arg(section));
            for (const Form* form : std::initializer_list<const Form*>{
                     &app.form(), app.form().numberPad().window(), app.form().results().window()})
                for (const Control* c : form->controls().all())
                    if (c->widget()->isVisible() && !dynamic_cast<const Line*>(c) &&
                        !dynamic_cast<const Shape*>(c) && !dynamic_cast<const Frame*>(c))
                        QVERIFY2(!said(c).isEmpty(), qPrintable(c->name()));
        }
        QStringList heard;
        for (const char* a :
             {"Command2(0)", "Command6(9)", "Command9(0)", "Label17(2)", "Label4(2)", "List1(1)"})
            heard << said(app.controls().find(a));
        QCOMPARE(heard.join('|'),
                 "Sumar uno al numerador|Multiplicar por 10|Dividir entre 2|"
                 "número sin escribir|1 por 1|Múltiplos del denominador");
    }

    // A click that opens a message box: while the box is open, the window shows the clicked
    // button in its new state, as painted into the window (not as a property says).
    void buttonShownUnderItsBox_data() {
        tableRows(R"(
SIMPLIFICA, equal terms left of COMPROBAR | menu4 F0=6/6                    | Command21(0) | white
Suma y resta, the click that makes it right | deal1/2,1/3 menu3 A*2 B r+ R+5 | Command12(3) | blue
)");
    }
    void buttonShownUnderItsBox() {
        QFETCH(QStringList, cells);
        App app;
        Pupil pupil(app);
        tell(pupil, {cells[0]});
        QWidget* button = app.button(cells[1]).widget();
        QString seen = "no box", boxes;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            // The box over the window exposes it: the window is painted again.
            const QImage painted =
                app.form().grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QPoint inside = button->mapTo(&app.form(), QPoint(button->width() - 5, 4)) *
                                  painted.devicePixelRatio();
            seen = colourName(fromQColor(painted.pixelColor(inside)));
            boxes = QApplication::topLevelWidgets().contains(box) ? box->text() : QString();
            box->button(QMessageBox::Ok)->click();
        });
        app.messages.real = true;
        leftClick(button);
        QCOMPARE(seen, cells[2]);
        QCOMPARE(app.messages.shown, QStringList{boxes});
    }
};

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
