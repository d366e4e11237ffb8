// The three windows carry every control of their catalogue, made up as it says.
#include <QTest>

#include "practice/number_pad.h"
#include "results/results_history.h"
#include "shell/catalogue.h"
#include "testkit.h"

using namespace rc;

namespace {

// Compares every control of a window with its row in the table.
void checkAgainstTable(const Form& form, std::span<const Row> rows, const QString& windowName,
                       bool designVisibility) {
    for (const Row& row : rows) {
        for (const Element& element : row.elements) {
            const QString addr = address(QString::fromUtf8(row.name), element.index);
            Control* control = form.controls().find(addr);
            QVERIFY2(control, qPrintable(addr));
            QWidget* widget = control->widget();
            QCOMPARE(widget->objectName(), addr);
            const QString container = QString::fromUtf8(row.container);
            QCOMPARE(widget->parentWidget()->objectName(),
                     container == windowName ? windowName : container);
            const Geometry& g = element.geometry;
            if (auto* line = dynamic_cast<Line*>(control)) {
                QCOMPARE(line->X1(), g.a);
                QCOMPARE(line->Y1(), g.b);
                QCOMPARE(line->X2(), g.c);
                QCOMPARE(line->Y2(), g.d);
                QCOMPARE(line->BorderWidth(), element.own.borderWidth.value_or(row.borderWidth));
            } else if (designVisibility) {
                QCOMPARE(control->Left(), g.a);
                QCOMPARE(control->Top(), g.b);
                QCOMPARE(control->Width(), g.c);
                QCOMPARE(control->Height(), g.d);
            }
            if (designVisibility) QCOMPARE(control->Visible(), !element.own.hidden);
            const QString caption = QString::fromUtf8(element.caption ? element.caption
                                                      : row.caption   ? row.caption
                                                                      : "");
            const FontStyle font = element.own.font.value_or(row.font);
            const QFont shown = widget->font();
            if (auto* label = dynamic_cast<Label*>(control)) {
                if (addr != "Label21" && addr != "Label3(2)") QCOMPARE(label->Caption(), caption);
                if (auto fore = element.own.fore ? element.own.fore : row.fore)
                    QCOMPARE(label->ForeColor(), *fore);
            }
            if (auto* button = dynamic_cast<CommandButton*>(control)) {
                if (windowName != "Form2" || !addr.startsWith("Command1("))
                    QCOMPARE(button->Caption(), caption);
                QCOMPARE(button->Graphical(), row.graphical);
            }
            if (!dynamic_cast<Line*>(control) && !dynamic_cast<Frame*>(control) &&
                !dynamic_cast<PictureBox*>(control) && !dynamic_cast<Shape*>(control)) {
                QCOMPARE(shown.pointSizeF(), font.points);
                QCOMPARE(shown.bold(), font.bold);
                QCOMPARE(shown.family(), QString::fromUtf8(font.face));
            }
        }
    }
}

int count(std::span<const Row> rows) {
    int n = 0;
    for (const Row& row : rows) n += int(row.elements.size());
    return n;
}

}  // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { rc::testing::prepareApplication(); }

    void mainWindow() {
        testing::App app;
        QCOMPARE(int(app.controls().all().size()), count(form1Catalogue()));
        checkAgainstTable(app.form(), form1Catalogue(), "Form1", false);
        // Before the layout: a window made from the table alone keeps the design geometry
        // and visibility.
        Form design("Form1", form1Catalogue());
        checkAgainstTable(design, form1Catalogue(), "Form1", true);
    }

    // The fraction bars and signs of the lessons are one array over five containers.
    void line1SpansFiveContainers() {
        testing::App app;
        auto& Line1 = app.controls().array<Line>("Line1");
        QCOMPARE(int(Line1.indices().size()), 26);
        QVERIFY(!Line1.exists(19));
        auto container = [&](int i) { return Line1(i).widget()->parentWidget()->objectName(); };
        QCOMPARE(container(0), QStringLiteral("Frame2"));
        QCOMPARE(container(1), QStringLiteral("Frame3"));
        for (int i = 2; i <= 5; ++i) QCOMPARE(container(i), QStringLiteral("Frame4"));
        for (int i = 6; i <= 12; ++i) QCOMPARE(container(i), QStringLiteral("Frame5"));
        for (int i : {13, 14, 15, 16, 17, 18, 20, 21, 22, 23, 24, 25, 26})
            QCOMPARE(container(i), QStringLiteral("Frame6"));
    }

    void designDetails() {
        testing::App app;
        QCOMPARE(app.label("Label3(2)").ForeColor(), RGB(255, 0, 0));
        QVERIFY(!app.label("Label3(2)").Visible());
        auto& options = app.controls().array<OptionButton>("Option1");
        QVERIFY(options(0).Value());
        QVERIFY(!options(1).Value());
        QCOMPARE(app.label("Label1(0)").Caption(), QStringLiteral("1"));
        QCOMPARE(app.label("Label1(1)").Caption(), QStringLiteral("2"));
        QCOMPARE(app.label("Label18(3)").Caption(), QStringLiteral("Equipo Ruedecitas"));
        QCOMPARE(app.controls().array<Line>("Line6")(7).BorderWidth(), 9);
        QCOMPARE(app.controls().array<Line>("Line6")(6).BorderWidth(), 3);
        QCOMPARE(app.button("Command12(0)").BackColor(), RGB(0, 192, 192));
        // Fonts resolve to faces with Arial's metrics.
        const QFontInfo info(app.label("Label1(0)").widget()->font());
        QVERIFY2(info.family().contains("Liberation Sans") || info.family().contains("Arial"),
                 qPrintable(info.family()));
    }

    void numberPadWindow() {
        Form2 pad;
        checkAgainstTable(pad, form2Catalogue(), "Form2", true);
        QCOMPARE(pad.BackColor(), RGB(255, 255, 192));
        QCOMPARE(pad.size(), QSize(306, 268));
        QVERIFY(pad.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(pad.controls().single<Shape>("Shape1").BorderWidth(), 2);
        QVERIFY(!pad.windowIcon().isNull());
    }

    void resultsWindow() {
        Form3 results;
        checkAgainstTable(results, form3Catalogue(), "Form3", true);
        QCOMPARE(results.windowTitle(), QStringLiteral("TUS RESULTADOS"));
        QCOMPARE(results.BackColor(), RGB(255, 128, 255));
        QCOMPARE(results.size(), QSize(648, 396));
        QCOMPARE(results.List1.BackColor(), RGB(0, 128, 128));
        QCOMPARE(results.List1.ForeColor(), SystemColour::WindowBackground);
        QVERIFY(!(results.windowFlags() & Qt::FramelessWindowHint));
    }
};

QTEST_MAIN(TestCatalogue)
#include "test_catalogue.moc"
