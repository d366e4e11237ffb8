// The four lessons' buttons as tables: each row is a pupil's story, a list of presses with what
// must show after them, named after what it catches.
//
// Presses, separated by blanks, "*k" repeating one k times:
//   menuI        the menu button of section I
//   n+ n- d+ d-  "Representación gráfica": numerator, denominator
//   a+ a- b+ b-  "Amplificar": the base numerator and denominator;  xM  the multiplier M
//   p+ p- q+ q-  the fraction panel's numerator and denominator
//   s+ s- t+ t-  "Simplificar": the base numerator and denominator;  :P  divide by the prime P
//   dealN/D,N/D  "Suma y resta" deals these with the next menu click;  A B  amplify A′ or B′;
//   A- B-        one step back;  r+ r+5 r-  the result's numerator;  R+ R+5 R-  its denominator
//   stain        marks both pictures; only a new drawing takes the mark away
#include <QRegularExpression>
#include <cfloat>

#include "pages.h"

using namespace rc;
using namespace rc::testing;

namespace {

struct Story : Lessons {
    SumLessonPage sum{app};

    void press(const QString& word) {
        static const QRegularExpression repeated(R"(^(.*)\*(\d+)$)");
        if (const auto m = repeated.match(word); m.hasMatch()) {
            for (int i = 0; i < m.captured(2).toInt(); ++i) press(m.captured(1));
            return;
        }
        const Press up = word.endsWith('+') ? Up : Down;
        const QChar what = word[0];
        if (word.startsWith("menu")) {
            app.click(QStringLiteral("Command1(%1)").arg(word.mid(4)));
        } else if (word.startsWith("deal")) {
            const auto f = word.mid(4).split(QRegularExpression("[/,]"));
            sum.deal(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].toInt());
        } else if (word == "stain") {
            representation.stain();
            panel.stain();
        } else if (what == 'x') {
            amplify.times(word.mid(1).toInt());
        } else if (what == ':') {
            const QList<int> primes = {2, 3, 5, 7, 11, 13, 17};
            simplify.divideBy(int(primes.indexOf(word.mid(1).toInt())));
        } else if (what == 'A' || what == 'B') {
            const int fraction = what == 'A' ? 0 : 1;
            app.click(QStringLiteral("Command1%1(%2)").arg(word.size() > 1 ? 3 : 2).arg(fraction));
        } else if (what == 'r' || what == 'R') {
            const int base = what == 'r' ? 0 : 1;
            const int index = word.endsWith("+5")  ? 4 + 2 * base
                              : word.endsWith('-') ? 5 + 2 * base
                                                   : 2 + base;
            sum.press(index);
        } else {
            const QMap<QChar, std::function<void(Press)>> pairs = {
                {'n', [&](Press p) { representation.stepNumerator(p); }},
                {'d', [&](Press p) { representation.stepDenominator(p); }},
                {'a', [&](Press p) { amplify.baseNumerator(p); }},
                {'b', [&](Press p) { amplify.baseDenominator(p); }},
                {'p', [&](Press p) { panel.numerator(p); }},
                {'q', [&](Press p) { panel.denominator(p); }},
                {'s', [&](Press p) { simplify.baseNumerator(p); }},
                {'t', [&](Press p) { simplify.baseDenominator(p); }}};
            if (!pairs.contains(what)) throw std::invalid_argument(word.toStdString());
            pairs[what](up);
        }
    }

    QString read(const QString& key) {
        auto regions = [](PictureBox& p, Colour c) {
            return QString::number(sectorRegions(p.surface()).count(c));
        };
        auto colourName = [](Colour c) {
            return c == RGB(0, 255, 0)   ? "green"
                   : c == RGB(0, 0, 255) ? "blue"
                   : c == RGB(255, 0, 0) ? "red"
                                         : "other";
        };
        if (key == "fraction") return representation.fraction();
        if (key == "whole1") return QString::number(representation.wholeUnits());
        if (key == "whole2") return QString::number(panel.wholeUnits());
        if (key == "blue1") return regions(representation.picture, Blue);
        if (key == "white1") return regions(representation.picture, White);
        if (key == "blue2") return regions(panel.picture(), Blue);
        if (key == "white2") return regions(panel.picture(), White);
        if (key == "stained1") return representation.stained() ? "yes" : "no";
        if (key == "stained2") return panel.stained() ? "yes" : "no";
        if (key == "panel") return panel.fraction();
        if (key == "top") return amplify.numerators().join(',');
        if (key == "bottom") return amplify.denominators().join(',');
        if (key == "base") return simplify.base();
        if (key == "steps") return simplify.steps();
        if (key == "message") return simplify.message() ? "shown" : "hidden";
        if (key == "given") return sum.given();
        if (key == "sum") return sum.equivalents();
        if (key == "result") return sum.result() + (sum.resultShown() ? "" : " hidden");
        if (key == "colours")
            return QStringLiteral("%1/%2").arg(colourName(fillShown(sum.button(2))),
                                               colourName(fillShown(sum.button(3))));
        if (key == "arrows") return sum.arrows(0) + "&" + sum.arrows(1);
        if (key == "muybien") return QString::number(app.messages.shown.count("Muy bien"));
        if (key == "pies") return piesShown();
        throw std::invalid_argument(key.toStdString());
    }

    // Which colours fill the sectors of the left and the right pie.
    QString piesShown() {
        const QImage& image = panel.picture().surface().image();
        QString found[2];
        const std::pair<Colour, const char*> colours[] = {
            {RGB(0, 192, 192), "teal"}, {RGB(192, 0, 192), "magenta"}, {Blue, "blue"}};
        for (const auto& [colour, name] : colours)
            for (int half = 0; half < 2; ++half)
                for (int y = 0; y < image.height() && !found[half].contains(name); y += 2)
                    for (int x = half * image.width() / 2; x < (half + 1) * image.width() / 2;
                         x += 2)
                        if (fromQColor(image.pixelColor(x, y)) == colour) {
                            found[half] += found[half].isEmpty() ? name : QString("+") + name;
                            break;
                        }
        return found[0] + "|" + found[1];
    }
};

void row(const char* name, const QStringList& story) {
    QTest::newRow(name) << story;
}

}  // namespace

class TestLessons : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    void stories_data() {
        QTest::addColumn<QStringList>("story");  // "presses => key=value; key=value"
        // Representación gráfica.
        row("numerator down to 0, a refused press still draws",
            {"menu0 n+ => fraction=2/2; blue1=2",
             "n-*2 stain n- => fraction=0/2; stained1=no; white1=2"});
        row("denominator between 2 and 150, refused presses draw",
            {"menu0 stain d- => fraction=1/2; stained1=no",
             "d+*148 stain d+ => fraction=1/150; stained1=no", "d- => fraction=1/149"});
        row("16 whole circles stop the numerator's + and the denominator's -",
            {"menu0 n+*31 => fraction=32/2; whole1=16; blue1=32", "n+ d- => fraction=32/2"});
        row("from 15 circles the denominator's - still goes, to 23",
            {"menu0 d+ n+*46 => fraction=47/3; whole1=15",
             "d- => fraction=47/2; whole1=23; blue1=47; white1=1", "n+ d- => fraction=47/2",
             "d+ n+ => fraction=48/3", "d- n+ => fraction=48/3", "n- => fraction=47/3"});
        // Amplificar and the fraction panel.
        row("design captions until the menu; 1/2 x 1; 1/2 x 3",
            {"=> top=1,1,1,1; bottom=2,1,1,1",
             "menu1 => top=1,1,1 X 1,1; bottom=2,1,2 X 1,2; panel=1/2",
             "x3 => top=1,3,1 X 3,3; bottom=2,3,2 X 3,6; panel=3/6; blue2=3; white2=3"});
        row("base between 0..200 and 2..200; the panel stops at 16 circles",
            {"menu1 x4 a-*2 => top=0,4,0 X 4,0; panel=0/8; blue2=0; white2=8",
             "b- => bottom=2,4,2 X 4,8", "a+*201 b+*199 => panel=800/800",
             "b-*198 x10 => top=200,10,200 X 10,2000; bottom=2,10,2 X 10,20; whole2=100",
             "p+ q- => panel=2000/20"});
        row("the panel's denominator moves the base, not the working",
            {"menu1 b+*18 x10 => panel=10/200", "q+ => panel=10/200",
             "q- => panel=10/199; bottom=199,10,20 X 10,200",
             "menu1 q- b+ b- => bottom=1988,10,1988 X 10,19880"});
        row("the panel's + stops at 150", {"menu1 q+*150 => panel=1/150; bottom=150,1,2 X 1,2"});
        row("the panel's numerator stops at 16 circles, and its denominator's -",
            {"menu1 b+ p+*60 => panel=48/3; whole2=16; blue2=48", "q- => panel=48/3",
             "p- q- => panel=47/2; bottom=2,1,3 X 1,3", "p-*50 => panel=0/2; top=1,1,1 X 1,1"});
        // Simplificar.
        row("16/32 by 2, by 3 refused; the message stays until a division works",
            {"menu2 => steps=", ":2 => steps=16 : 2/32 : 2 = 8/16; panel=8/16; blue2=8; white2=8",
             "stain :3 => steps=; message=shown; panel=8/16; stained2=yes; base=16/32",
             "s+ t- => message=shown; panel=17/31; blue2=17", "t+ s- :2 => message=hidden",
             ":2 => steps=16 : 2/32 : 2 = 8/16", "s+ => steps=; panel=17/32"});
        row("0/32, 17/34 only by 17, 2/2 as one blue disc",
            {"menu2 s-*16 :2 => steps=0 : 2/32 : 2 = 0/16; blue2=0; white2=16",
             "s+*17 t+*2 :13 => message=shown", ":17 => steps=17 : 17/34 : 17 = 1/2; panel=1/2",
             "s-*15 t-*32 :2 => steps=2 : 2/2 : 2 = 1/1; whole2=1; blue2=1; white2=0"});
        row("refused base presses still put the base in the panel",
            {"menu2 s-*16 :2 stain s- => base=0/32; panel=0/32; stained2=no; steps=0 : 2/32 : 2 = "
             "0/16",
             "t-*31 => base=0/2", "s+*201 t+*199 => base=200/200",
             ":5 stain t+ => panel=200/200; stained2=no; steps=200 : 5/200 : 5 = 40/40"});
        row("the panel is shared; every menu click puts the amplify result back",
            {"menu1 x3 menu2 => panel=3/6", ":3 => message=shown; panel=3/6",
             "menu1 => message=shown", "b- => message=hidden",
             "menu2 :3 menu1 a+ => message=hidden", "menu2 :2 p+ => panel=9/16; blue2=9",
             "q+ => bottom=17,3,2 X 3,6",
             "menu0 => panel=6/51; base=16/32; steps=16 : 2/32 : 2 = 8/16",
             "menu2 s-*14 t-*30 :2 q- => panel=1/1", "q+ => panel=1/2; bottom=2,3,17 X 3,51"});
        // Suma y resta.
        row("1/2 - 1/3 to sixths; Muy bien after every click that leaves both right",
            {"deal1/2,1/3 menu3 => given=1/2 - 1/3; sum=1/2 - 1/3; result=/ hidden; arrows=&; "
             "pies=teal|magenta",
             "A*2 => sum=3/6 - 1/3; arrows= X 3| X 3&",
             "B => sum=3/6 - 2/6; arrows=& X 2| X 2; result=/; pies=blue|blue; colours=green/green",
             "r+ R+5 => result=1/5; colours=blue/red; muybien=0", "R+ => result=1/6; muybien=1",
             "r+5 r-*5 => result=1/6; muybien=2",
             "B- => sum=3/6 - 1/3; result=/ hidden; pies=teal|magenta",
             "B- => sum=3/6 - 1/3; arrows=& X 1| X 1"});
        row("the operator: plus unless B is smaller",
            {"deal1/3,1/2 menu3 => given=1/3 + 1/2", "deal1/2,2/4 menu3 => given=1/2 + 2/4",
             "deal5/5,12/12 menu3 => given=5/5 + 12/12; pies=teal|magenta"});
        row("same denominators at once; a larger common one is right too",
            {"deal3/7,2/7 menu3 => result=/; pies=blue|blue",
             "r+ R+ R+5 R+ => result=1/7; muybien=1", "A B => sum=6/14 - 4/14",
             "r+*2 R+5*2 R+*4 => result=2/14; muybien=2", "R- => colours=blue/red"});
        row("-1 on an unset number; every menu click deals afresh",
            {"deal1/4,3/4 menu3 r- => result=-1/; colours=red/green",
             "A*3 deal2/5,1/6 menu3 => sum=2/5 - 1/6; arrows=&; result=/ hidden"});
    }
    void stories() {
        QFETCH(QStringList, story);
        Story on;
        for (const QString& step : story) {
            const QString presses = step.section("=>", 0, 0).trimmed();
            for (const QString& word : presses.split(' ', Qt::SkipEmptyParts)) on.press(word);
            for (const QString& expectation : step.section("=>", 1).split(';')) {
                const QString key = expectation.section('=', 0, 0).trimmed();
                const QString value = expectation.section('=', 1);
                QCOMPARE(on.read(key), value);
            }
        }
    }

    // Every menu click followed by the panel's "--" makes the base denominator about ten times
    // larger: plain digits while a double holds them exactly, then one power of ten per round
    // in exponent form, up to the largest double.
    void growingDenominator() {
        Story on;
        on.press("menu1");
        on.press("x10");
        const QRegularExpression exponentForm(R"(^[1-9](\.[0-9]+)?E\+([0-9]+)$)");
        long long exact = 2;
        int plainRounds = 0, lastExponent = 0;
        for (int round = 1; round <= 320; ++round) {
            on.press("menu1");
            on.press("q-");
            const QString base = on.amplify.baseDenominatorText();
            QCOMPARE(on.panel.fraction(), "10/" + base);
            if (exact > 0 && exact * 10 < (1LL << 53)) {
                exact = exact * 10 - 1;
                QCOMPARE(base, QString::number(exact));
                ++plainRounds;
                continue;
            }
            exact = 0;
            const auto match = exponentForm.match(base);
            QVERIFY2(match.hasMatch(), qPrintable(base));
            const int exponent = match.captured(2).toInt();
            if (lastExponent > 0 && lastExponent < 308) QCOMPARE(exponent, lastExponent + 1);
            lastExponent = exponent;
        }
        QCOMPARE(plainRounds, 15);
        QCOMPARE(on.amplify.baseDenominatorText(), "1.79769313486232E+308");
    }
};

QTEST_MAIN(TestLessons)
#include "test_lessons.moc"
