#pragma once

// The program as a pupil meets it: one word for each thing a pupil can press, one key for each
// thing a pupil can read, so that tests are told as stories ("menu1 x3 => panel=3/6") and
// every control address lives here once.
//
// Presses ("w*k" repeats w k times):
//   menuI historial     a menu button; "HISTORIAL"
//   n± d±               "Representación gráfica": numerator, denominator ("+" or "-")
//   a± b± xM            "Amplificar": base numerator, denominator; the multiplier M
//   p± q±               the fraction panel's numerator and denominator
//   s± t± :P            "Simplificar": base numerator, denominator; divide by the prime P
//   dealN/D,N/D A B A- B- r+ r+5 r- R+ R+5 R-
//                       "Suma y resta": deals with the next menu click; amplify A′ or B′ and
//                       back; the result's numerator (r) and denominator (R)
//   tapS tapS@C/N       a click on sector S of Picture1's circle (of cell C of N); also
//                       righttap, middletap, shifttap
//   stain               marks both pictures; only a new drawing takes the mark away
//   productN/D,N/D multiply divide N N+5 N- D D+5 D- check
//                       "MULTIPLICACIÓN Y DIVISIÓN"
//   simplifyE/E         "SIMPLIFICA" deals 2^a·3^b·5^c·7^d·11^e over the same ("3,1,0,0,0");
//   @I #KEYS FJ=N/D checkK
//                       click number I; the pad's keys (digits, B, +1 -1 +5 -5 +10 -10);
//                       write the fraction FJ with the pad; the link's "COMPROBAR" K
//   sumN/D,N/D,N/D listI:M lists:M eI eI+5 eI- eI=V setA,B,C,R typeI:TEXT keyI:down|up|end
//   check               "SUMA Y RESTA": pick M in a list or all three; the numerators, one
//                       counted to V or all four
//   history:=N          the history has counted N lines already
//   random:R,R,...      the next draws of the random source
#include <QAbstractItemView>
#include <QFile>
#include <QRegularExpression>
#include <cmath>

#include "controls/numbers.h"
#include "pie_regions.h"
#include "practice/number_pad.h"
#include "results/results_history.h"
#include "testkit.h"

namespace rc::testing {

// The pixels of a control as they show in its window.
inline QImage shown(const Control& control) {
    QWidget* widget = control.widget();
    const QRect area(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
    return widget->window()->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}
// The colour a button or an option button is filled with, away from its caption and bevel.
inline Colour fillShown(const Control& control) {
    const QImage image = shown(control);
    return fromQColor(image.pixelColor(image.width() - 5, 4));
}
// Whether some pixel of the control shows exactly this colour (the text of a label).
inline bool showsColour(const Control& control, Colour colour) {
    const QImage image = shown(control);
    const QRgb wanted = toQColor(resolved(colour)).rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == wanted) return true;
    return false;
}
inline QString colourName(Colour c) {
    const std::pair<Colour, const char*> names[] = {{RGB(0, 255, 0), "green"},
                                                    {RGB(255, 0, 0), "red"},
                                                    {RGB(0, 0, 255), "blue"},
                                                    {RGB(255, 255, 255), "white"},
                                                    {RGB(0, 128, 128), "teal"}};
    for (const auto& [colour, name] : names)
        if (c == colour) return name;
    return c == resolved(SystemColour::ButtonFace) ? "face" : "other";
}

// The nine help texts, transcribed into tests/data/help_texts.txt, one a line.
inline QStringList helpTexts() {
    QFile file(QStringLiteral(RUEDECITAS_TEST_DATA "/help_texts.txt"));
    if (!file.open(QIODevice::ReadOnly)) qFatal("no help texts");
    return QString::fromUtf8(file.readAll()).split('\n').mid(0, 9);
}
// What each menu button shows of the lessons' shared controls: Picture1, Picture2, Frame2,
// Frame3.
inline const QStringList MenuShows = {"1111", "0101", "0101", "0100", "0000",
                                      "0000", "0000", "0000", "0000"};
inline QString sharedShown(App& app) {
    QString shown;
    for (const char* name : {"Picture1", "Picture2", "Frame2", "Frame3"})
        shown += app.controls().find(name)->Visible() ? "1" : "0";
    return shown;
}

inline void leftClick(QWidget* widget, QPoint at = {-1, -1}) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at.x() < 0 ? widget->rect().center() : at);
}

// Captions put together as a pupil reads them: {address} is that control's caption, and
// {address?a:b} reads a while the control shows, b while it is hidden.
inline const QMap<QString, QString> Readings = {
    {"fraction", "{Label1(0)}/{Label1(1)}"},
    {"panel", "{Label2(0)}/{Label2(1)}"},
    {"top", "{Label4(0)},{Label4(1)},{Label4(2)},{Label4(3)}"},
    {"bottom", "{Label5(0)},{Label5(1)},{Label5(2)},{Label5(3)}"},
    {"base", "{Label6(0)}/{Label7(0)}"},
    {"given", "{Label8(0)}/{Label9(0)}{Line1(16)? + : - }{Label8(1)}/{Label9(1)}"},
    {"sum", "{Label8(2)}/{Command12(0)}{Line1(23)? + : - }{Label8(3)}/{Command12(1)}"},
    {"fractions6", "{Label15(0)}/{Label16(0)} {Label15(1)}/{Label16(1)}"},
    {"fractions5", "{Label12(0)}/{Label13(0)} {Label12(1)}/{Label13(1)} {Label12(2)}/{Label13(2)}"},
    {"answer", "{Command18(0)}/{Command18(3)}"},
    {"operators", "{Line5(10)?{Line5(9)?+:-}:?} {Line5(16)?{Line5(15)?+:-}:?}"},
    {"numerators", "{Command14(0)},{Command14(1)},{Command14(2)},{Command14(3)}"},
    {"common", "{Label13(3)},{Label13(4)},{Label13(5)},{Label13(6)}"}};

class Pupil {
  public:
    explicit Pupil(App& app) : app(app) {}

    void act(const QString& word) {
        static const QRegularExpression repeated(R"(^(.*)\*(\d+)$)");
        if (const auto m = repeated.match(word); m.hasMatch()) {
            for (int i = 0; i < m.captured(2).toInt(); ++i) act(m.captured(1));
            return;
        }
        QStringList c;  // the captures of the pattern that matched
        const auto is = [&](const char* pattern) { return matches(word, pattern, c); };
        const auto n = [&](int i) { return c[i].toInt(); };
        const auto deal = [&](double m, double first, int i) { app.random.deal(m, first, n(i)); };
        const QMap<QString, int> pairs = {{"n", 2}, {"d", 3}, {"p", 4},  {"q", 5},
                                          {"a", 7}, {"b", 8}, {"s", 10}, {"t", 11}};
        if (is(R"(menu(\d))")) return click(at("Command1", n(1)));
        if (is("historial")) return click("Command20");
        if (is("([ndpqabst])([+-])"))
            return click(at(QStringLiteral("Command%1").arg(pairs[c[1]]), c[2] == "-"));
        if (is(R"(x(\d+))")) return click(at("Command6", n(1) - 1));
        if (is(R"(:(\d+))"))
            return click(at("Command9", int(QList{2, 3, 5, 7, 11, 13, 17}.indexOf(n(1)))));
        if (is("([AB])(-?)"))
            return click(at(c[2].isEmpty() ? "Command12" : "Command13", c[1] == "B"));
        if (is(R"(([rR])(\+5|\+|-))")) {
            const int base = c[1] == "R";
            return click(at("Command12", c[2] == "+5"  ? 4 + 2 * base
                                         : c[2] == "-" ? 5 + 2 * base
                                                       : 2 + base));
        }
        if (is(R"(deal(\d+)/(\d+),(\d+)/(\d+))"))
            return deal(11, 2, 2), deal(n(2), 1, 1), deal(11, 2, 4), deal(n(4), 1, 3);
        if (is("stain")) {
            for (const char* picture : {"Picture1", "Picture2"})
                app.picture(picture).surface().setPixel(1, 1, Stain);
            return;
        }
        if (is(R"(product(\d+)/(\d+),(\d+)/(\d+))"))
            return deal(10, 1, 1), deal(10, 3, 2), deal(10, 1, 3), deal(10, 3, 4);
        if (is("multiply|divide")) {
            QWidget* option = control(at("Option1", word == "divide")).widget();
            return leftClick(option, QPoint(8, option->height() / 2));
        }
        if (is(R"(([ND])(\+5|-)?)"))
            return click(at("Command18", (c[1] == "D") * 3 + (c[2] == "+5") + 2 * (c[2] == "-")));
        if (is("check")) return click(section() == 6 ? "Command19" : "Command17");
        if (is(R"(check(\d))")) return click(at("Command21", n(1)));
        if (is(R"(simplify(\S+)/(\S+))")) {  // the exponents of 2, 3, 5, 7, 11 over the same
            for (int term : {1, 2}) {
                const QStringList e = c[term].split(',');
                app.random.deal(4, 1, e[0].toInt());
                app.random.deal(term == 1 ? 3 : 4, 0, e[1].toInt());
                for (int i = 2; i < 5; ++i) app.random.deal(2, 0, e[i].toInt());
            }
            return;
        }
        if (is(R"(@(\d+))")) return leftClick(number(n(1)).widget());
        if (is("#(.+)")) return padKeys(c[1]);
        if (is(R"(F(\d)=(-?\d+)(?:/(-?\d+))?)")) {
            act(QStringLiteral("@%1").arg(2 * n(1))), padKeys(c[2]);
            if (!c[3].isEmpty()) act(QStringLiteral("@%1").arg(2 * n(1) + 1)), padKeys(c[3]);
            return;
        }
        if (is(R"(sum(\d+)/(\d+),(\d+)/(\d+),(\d+)/(\d+))"))
            return deal(10, 1, 1), deal(10, 2, 2), deal(10, 1, 3), deal(10, 2, 4), deal(10, 1, 5),
                   deal(10, 2, 6);
        if (is(R"(list(\d):(\d+))")) return choose(n(1), c[2]);
        if (is(R"(lists:(\d+))")) return choose(0, c[1]), choose(1, c[1]), choose(2, c[1]);
        if (is(R"(e(\d)(\+5|\+|-)?)"))
            return click(at(c[2] == "+5"  ? "Command15"
                            : c[2] == "-" ? "Command16"
                                          : "Command14",
                            n(1)));
        if (is(R"(e(\d)=(-?\d+))")) return countTo("e" + c[1], n(2));
        if (is(R"(set(-?\d+),(-?\d+),(-?\d+),(-?\d+))"))
            return countTo("e0", n(1)), countTo("e1", n(2)), countTo("e2", n(3)),
                   countTo("e3", n(4));
        if (is(R"(type(\d):(\S+))")) return QTest::keyClicks(list(n(1)).widget(), c[2]);
        if (is(R"(key(\d):(down|up|end))"))
            return QTest::keyClick(list(n(1)).widget(), c[2] == "down" ? Qt::Key_Down
                                                        : c[2] == "up" ? Qt::Key_Up
                                                                       : Qt::Key_End);
        if (is(R"((right|middle|shift|)tap(\d+)(?:@(\d+)/(\d+))?)")) {
            const Qt::MouseButton button = c[1] == "right"    ? Qt::RightButton
                                           : c[1] == "middle" ? Qt::MiddleButton
                                                              : Qt::LeftButton;
            return tap(sectorPixel(n(2), n(3), std::max(1, n(4))), button,
                       c[1] == "shift" ? Qt::ShiftModifier : Qt::NoModifier);
        }
        if (is(R"(history:=(\d+))")) return void(state().HistoryCount = n(1));
        if (is("random:(.+)")) {
            for (const QString& r : c[1].split(',')) app.random.script({r.toDouble()});
            return;
        }
        throw std::invalid_argument("no such press: " + word.toStdString());
    }

    QString read(const QString& key) {
        QStringList c;
        const auto is = [&](const char* pattern) { return matches(key, pattern, c); };
        const auto yes = [](bool b) { return QString(b ? "yes" : "no"); };
        const auto number = [](double value) { return QString::number(value); };
        if (Readings.contains(key)) return compose(Readings[key]);
        if (is("fractions")) return compose(Readings[QStringLiteral("fractions%1").arg(section())]);
        if (is("whole([12])"))
            return number(c[1] == "1" ? state().WholeUnits1 : state().WholeUnits2);
        if (is("(blue|white)([12])"))
            return number(sectorRegions(app.picture("Picture" + c[2]).surface())
                              .count(c[1] == "blue" ? Blue : White));
        if (is(R"(sector(\d+)(?:@(\d+)/(\d+))?)")) {
            const QPoint p = sectorPixel(c[1].toInt(), c[2].toInt(), std::max(1, c[3].toInt()));
            return colourName(app.picture("Picture1").Point(p.x(), p.y()));
        }
        if (is("stained([12])")) return yes(app.picture("Picture" + c[1]).Point(1, 1) == Stain);
        if (is("steps")) {  // "a : p/b : p = c/d", empty while hidden
            const QString shown = parts("Line1(7-12) Label6(1-2) Label7(1-2)");
            return shown != "all" ? (shown == "none" ? "" : shown)
                                  : compose("{Label6(1)}/{Label7(1)} = {Label6(2)}/{Label7(2)}");
        }
        if (is("message")) return app.label("Label3(2)").Visible() ? "shown" : "hidden";
        if (is("result")) {
            const QString shown = parts("Command12(2-7) Line1(24-26)");
            return compose("{Command12(2)}/{Command12(3)}") + (shown == "all"    ? ""
                                                               : shown == "none" ? " hidden"
                                                                                 : " partly");
        }
        if (is("colours")) return fills({"Command12(2)", "Command12(3)"});
        if (is("arrows")) return arrows(0) + "&" + arrows(1);
        if (is("muybien")) return number(app.messages.shown.count("Muy bien"));
        if (is("said")) return app.messages.shown.join(" | ");
        if (is("pies")) return pies();
        if (is("verdict"))
            return section() == 6 ? fills({"Command18(0)", "Command18(3)", "Command19"})
                                  : fills({"Command14(0)", "Command14(1)", "Command14(2)",
                                           "Command14(3)", "Command17"});
        if (is("sign"))
            return QString(parts("Line6(5-6)") == "all" ? "X" : "") +
                   (parts("Line6(7-8)") == "all" ? ":" : "");
        if (is("errors")) return number(state().HadErrors);
        if (is("count")) return number(state().HistoryCount);
        if (is("lines")) return lines().join(" | ");
        if (is("results")) {
            Form3* window = app.form().results().window();
            return !window ? "none" : window->isVisible() ? "shown" : "hidden";
        }
        if (is(R"(F(\d))"))
            return compose(QStringLiteral("{Label17(%1)}/{Label17(%2)}")
                               .arg(2 * c[1].toInt())
                               .arg(2 * c[1].toInt() + 1));
        if (is("shown|locked")) {
            QString bits;
            for (int i = 0; i <= 11; ++i)
                bits += (key == "shown" ? this->number(i).Visible() : !this->number(i).Enabled())
                            ? '1'
                            : '0';
            return bits;
        }
        if (is(R"(link(\d))")) {
            const Control& button = control(at("Command21", c[1].toInt()));
            if (!button.Visible()) return "hidden";
            return colourName(fillShown(button)) + (button.Enabled() ? "" : " locked");
        }
        if (is(R"(ink(\d+))")) {
            for (Colour colour : {Blue, RGB(255, 0, 0)})
                if (showsColour(this->number(c[1].toInt()), colour)) return colourName(colour);
            return "other";
        }
        if (is(R"(eq(\d))"))
            return yes(parts(QStringLiteral("Line7(%1-%2)")
                                 .arg(3 * c[1].toInt() - 2)
                                 .arg(3 * c[1].toInt() - 1)) == "all");
        if (is(R"(bar(\d))")) return yes(control(at("Line7", 3 * c[1].toInt())).Visible());
        if (is(R"(top(\d+))")) return number(this->number(c[1].toInt()).Top());
        if (is("pad")) return app.form().numberPad().window()->Label1.Caption();
        if (is(R"(multiples(\d))")) {  // "4x13": the list holds 4, 8, ..., 52
            const ListBox& l = list(c[1].toInt());
            for (int row = 0; row < l.ListCount(); ++row)
                if (Val(l.List(row)) != Val(l.List(0)) * (row + 1)) return "not multiples";
            return QStringLiteral("%1x%2").arg(l.List(0)).arg(l.ListCount());
        }
        if (is(R"(selected(\d))")) return list(c[1].toInt()).List(list(c[1].toInt()).ListIndex());
        if (is(R"(working(\d))")) return compose(QStringLiteral("{Label14(%1)}").arg(c[1]));
        if (is("comprobar")) return control("Command17").widget()->isVisible() ? "shown" : "hidden";
        throw std::invalid_argument("no such reading: " + key.toStdString());
    }

    // Brings an exercise's number button ("N", "D", "e0".."e3") to `target` with its own
    // click (+1), its "+5" and its "-1".
    void countTo(const QString& word, double target) {
        const QString address = word.startsWith('e') ? at("Command14", word.mid(1).toInt())
                                                     : at("Command18", word == "N" ? 0 : 3);
        for (int guard = 0; guard < 10000; ++guard) {
            const QString text = compose("{" + address + "}");
            if (Val(text) == target && !text.isEmpty()) return;
            act(word + (Val(text) > target ? "-" : target - Val(text) >= 5 ? "+5" : ""));
        }
    }
    QStringList lines() const {
        QStringList all;
        if (Form3* window = app.form().results().window())
            for (int i = 0; i < window->List1.ListCount(); ++i) all << window->List1.List(i);
        return all;
    }
    Label& number(int i) const { return app.label(at("Label17", i)); }
    ListBox& list(int i) const { return app.controls().array<ListBox>("List1")(i); }
    int section() const { return state().CurrentSection; }
    Form1State& state() const { return app.form().state(); }
    static QString at(const QString& array, int index) {
        return QStringLiteral("%1(%2)").arg(array).arg(index);
    }

    // The pixel of Picture1 in the middle of `sector` of the circle in cell `cell` of `cells`,
    // at 0.6 of its radius, on even coordinates so that a scaled display can point at it.
    QPoint sectorPixel(int sector, int cell = 0, int cells = 1) const {
        const PictureBox& picture = app.picture("Picture1");
        const int W = picture.ScaleWidth(), H = picture.ScaleHeight();
        double cx = W / 2.0, r = H / 2.0 - 6;
        if (cells > 1) {
            const double width = std::floor(W / double(cells));
            cx = std::floor(width / 2) + cell * width;
            r = std::min(std::floor(width / 2), H / 2.0 - 6) - 2;
        }
        const double angle = (sector + 0.5) * 6.28318 / Val(app.label("Label1(1)").Caption());
        return {int(std::lround((cx + 0.6 * r * std::cos(angle)) / 2)) * 2,
                int(std::lround((H / 2.0 - 0.6 * r * std::sin(angle)) / 2)) * 2};
    }
    // A real mouse click on Picture1 over one of its pixels.
    void tap(QPoint pixel, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QWidget* widget = app.picture("Picture1").widget();
        const double ratio = widget->devicePixelRatioF();
        QTest::mouseClick(widget, button, keys,
                          QPoint(int(std::lround(pixel.x() / ratio)) + PictureBox::border,
                                 int(std::lround(pixel.y() / ratio)) + PictureBox::border));
    }

    App& app;
    static constexpr Colour Stain = RGB(1, 2, 3);

  private:
    static bool matches(const QString& text, const char* pattern, QStringList& captures) {
        const auto m = QRegularExpression(QStringLiteral("^(?:%1)$").arg(pattern)).match(text);
        captures = m.capturedTexts();
        while (captures.size() < 8) captures << QString();  // groups that took no part
        return m.hasMatch();
    }
    Control& control(const QString& address) const {
        if (Control* c = app.controls().find(address)) return *c;
        throw std::invalid_argument("no control " + address.toStdString());
    }
    void click(const QString& address) { leftClick(control(address).widget()); }
    // Fills in a reading's {address} and {address?shown:hidden}, innermost first.
    QString compose(QString text) const {
        static const QRegularExpression field(
            R"(\{([A-Za-z0-9]+\(\d+\)|[A-Za-z0-9]+)(?:\?([^{}:]*):([^{}]*))?\})");
        for (auto m = field.match(text); m.hasMatch(); m = field.match(text)) {
            Control& c = control(m.captured(1));
            QString value = c.Visible() ? m.captured(2) : m.captured(3);
            if (m.captured(0).indexOf('?') < 0) {
                if (auto* label = dynamic_cast<Label*>(&c))
                    value = label->Caption();
                else
                    value = dynamic_cast<CommandButton&>(c).Caption();
            }
            text.replace(m.capturedStart(), m.capturedLength(), value);
        }
        return text;
    }
    // Whether all, none or only some of a group of controls show: "Line1(7-12) Label6(1-2)".
    QString parts(const QString& group) const {
        int shown = 0, all = 0;
        static const QRegularExpression range(R"((\w+)\((\d+)-(\d+)\))");
        for (const QString& item : group.split(' ')) {
            const auto m = range.match(item);
            for (int i = m.captured(2).toInt(); i <= m.captured(3).toInt(); ++i, ++all)
                shown += control(at(m.captured(1), i)).Visible();
        }
        return shown == all ? "all" : shown == 0 ? "none" : "partly";
    }
    QString fills(const QStringList& addresses) const {
        QStringList names;
        for (const QString& address : addresses) names << colourName(fillShown(control(address)));
        return names.join(' ');
    }
    // The factor written on the arrows of A (0) or B (1), empty while they are hidden.
    QString arrows(int fraction) const {
        const QString labels = fraction ? "Label11" : "Label10";
        const QString shown =
            parts(QStringLiteral("Line%1(0-9) %2(0-1)").arg(fraction + 3).arg(labels));
        if (shown != "all") return shown == "none" ? "" : "partly shown";
        return compose(QStringLiteral("{%1(0)}|{%1(1)}").arg(labels));
    }
    // Which colours fill the sectors of the left and the right pie.
    QString pies() const {
        const QImage& image = app.picture("Picture2").surface().image();
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
    void padKeys(const QString& keys) {
        Form2& pad = *app.form().numberPad().window();
        static const QStringList steps = {"+1", "-1", "+5", "-5", "+10", "-10"};
        if (steps.contains(keys)) return leftClick(pad.Command2(int(steps.indexOf(keys))).widget());
        for (QChar key : keys)
            leftClick((key == 'B' ? pad.Command3 : pad.Command1(key.digitValue())).widget());
    }
    // Scrolls list i to the entry and clicks it.
    void choose(int i, const QString& entry) {
        auto* view = qobject_cast<QAbstractItemView*>(list(i).widget());
        int row = 0;
        while (row < list(i).ListCount() && list(i).List(row) != entry) ++row;
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        leftClick(view->viewport(), view->visualRect(index).center());
    }
};

// Tells a story: each step is "presses => key=value; key=value", checked in order.
inline void tell(Pupil& pupil, const QStringList& story) {
    for (const QString& step : story) {
        try {
            for (const QString& word : step.section("=>", 0, 0).split(' ', Qt::SkipEmptyParts))
                pupil.act(word);
            if (!step.contains("=>")) continue;
            for (const QString& expectation : step.section("=>", 1).split(';')) {
                const QString key = expectation.section('=', 0, 0).trimmed();
                const QString want = expectation.section('=', 1), got = pupil.read(key);
                const QString says = QStringLiteral("%1\n   %2 is \"%3\", not \"%4\"");
                QVERIFY2(got == want, qPrintable(says.arg(step, key, got, want)));
            }
        } catch (const std::exception& e) {
            QFAIL(qPrintable(step + ": " + e.what()));
        }
    }
}

// Stories as test data: the column "story", a named row, and the test that tells the row's
// story to a fresh main window on an 800 x 600 screen.
inline void storyColumn() {
    QTest::addColumn<QStringList>("story");  // steps "presses => key=value; key=value"
}
inline void story(const char* name, const QStringList& steps) {
    QTest::newRow(name) << steps;
}
inline void tellTheStory() {
    QFETCH(QStringList, story);
    App app;
    Pupil pupil(app);
    tell(pupil, story);
}

}  // namespace rc::testing
