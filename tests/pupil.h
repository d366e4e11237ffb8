#pragma once

// The program as a pupil meets it: a word for each thing a pupil can press (the table Presses
// and the words of Pupil::act), a key for each thing a pupil can read (the table Readings and
// the keys of Pupil::read), so that tests are told as stories, "menu1 x3 => panel=3/6", and
// every control address lives here once. "w*k" presses w k times. Besides single buttons:
//   dealN/D,N/D  productN/D,N/D  sumN/D,N/D,N/D  simplifyE,E,E,E,E/E,E,E,E,E  random:R,R
//                the next menu click deals these (simplify: exponents of 2, 3, 5, 7, 11);
//                simplifyN:E,E,E,E,E and simplifyD:... queue one draw of either term
//   #KEYS  FJ=N/D  FJ:=N/D  eI=V  setA,B,C,R  listI:M  lists:M  typeI:TEXT  keyI:down|up|end
//                the pad's keys; the fraction FJ written with the pad's digits, or with
//                whatever keys make any whole number (a negative one: "-1", then digits); a
//                sum numerator counted to V, or all four; an entry picked in one list or in
//                all three; keys there
//   tapS[@C/N]   a click on sector S of Picture1's circle (of cell C of N); also right-,
//                middle- and shifttap
//   multiply divide check stain history:=N
//   tab backtab space enter escape backspace delete keys:DIGITS+- kpD
//                a key pressed where the keyboard is (backtab: Shift+Tab; keys: "+" and "-"
//                on the keypad; kpD: a keypad digit)
#include <QAbstractItemView>
#include <QAccessible>
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
    const int dpr = int(image.devicePixelRatio());  // the bevel is two pixels at any scale
    return fromQColor(image.pixelColor(image.width() - 5 * dpr, 4 * dpr));
}
// Whether some pixel of the control shows exactly this colour (the text of a label).
inline bool showsColour(const Control& control, Colour colour) {
    const QImage image = shown(control);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == toQColor(resolved(colour)).rgb()) return true;
    return false;
}
inline QString colourName(Colour c) {
    const QMap<Colour, QString> names = {{RGB(0, 255, 0), "green"},     {RGB(255, 0, 0), "red"},
                                         {RGB(0, 0, 255), "blue"},      {RGB(0, 128, 128), "teal"},
                                         {RGB(255, 255, 255), "white"}, {Background, "near-white"}};
    const Colour face = fromQColor(QGuiApplication::palette().color(QPalette::Button));
    return names.value(c, c == face ? "face" : "other");  // the desktop's button face
}
// What a control shows as its caption; empty for controls without one.
inline QString captionOf(const Control& control) {
    if (auto* label = dynamic_cast<const Label*>(&control)) return label->Caption();
    if (auto* button = dynamic_cast<const CommandButton*>(&control)) return button->Caption();
    if (auto* option = dynamic_cast<const OptionButton*>(&control)) return option->Caption();
    return {};
}

// The nine help texts, transcribed into tests/data/help_texts.txt, one a line.
inline QStringList helpTexts() {
    QFile file(QStringLiteral(RUEDECITAS_TEST_DATA "/help_texts.txt"));
    if (!file.open(QIODevice::ReadOnly)) qFatal("no help texts");
    return QString::fromUtf8(file.readAll()).split('\n').mid(0, 9);
}
// What each menu button shows of Picture1, Picture2, Frame2 and Frame3.
inline const QStringList MenuShows = {"1111", "0101", "0101", "0100", "0000",
                                      "0000", "0000", "0000", "0000"};
inline QString sharedShown(App& app) {
    QString shown;
    for (const char* name : {"Picture1", "Picture2", "Frame2", "Frame3"})
        shown += app.controls().find(name)->Visible() ? "1" : "0";
    return shown;
}

// The control a word presses; a word with a number ("menu4") is found with "#" in its place.
inline const char* const Presses = R"(
menu# Command1(#)  historial Command20  check# Command21(#)  @# Label17(#)
e# Command14(#)  e#+ Command14(#)  e#+5 Command15(#)  e#- Command16(#)
n+ Command2(0)  n- Command2(1)  d+ Command3(0)  d- Command3(1)  p+ Command4(0)  p- Command4(1)
q+ Command5(0)  q- Command5(1)  a+ Command7(0)  a- Command7(1)  b+ Command8(0)  b- Command8(1)
s+ Command10(0)  s- Command10(1)  t+ Command11(0)  t- Command11(1)
x1 Command6(0)  x2 Command6(1)  x3 Command6(2)  x4 Command6(3)  x5 Command6(4)  x6 Command6(5)
x7 Command6(6)  x8 Command6(7)  x9 Command6(8)  x10 Command6(9)
:2 Command9(0)  :3 Command9(1)  :5 Command9(2)  :7 Command9(3)  :11 Command9(4)  :13 Command9(5)
:17 Command9(6)  A Command12(0)  B Command12(1)  A- Command13(0)  B- Command13(1)
r+ Command12(2)  R+ Command12(3)  r+5 Command12(4)  r- Command12(5)  R+5 Command12(6)
R- Command12(7)  N Command18(0)  N+5 Command18(1)  N- Command18(2)  D Command18(3)
D+5 Command18(4)  D- Command18(5)
)";

// What a pupil reads, put together from captions: {address} is the control's caption,
// {address#} the colour it is filled with, {address?a:b} a while it shows, b while hidden. A
// key with "@S" is read so in section S.
inline const QMap<QString, QString> Readings = {
    {"fraction", "{Label1(0)}/{Label1(1)}"},
    {"panel", "{Label2(0)}/{Label2(1)}"},
    {"top", "{Label4(0)},{Label4(1)},{Label4(2)},{Label4(3)}"},
    {"bottom", "{Label5(0)},{Label5(1)},{Label5(2)},{Label5(3)}"},
    {"base", "{Label6(0)}/{Label7(0)}"},
    {"message", "{Label3(2)?shown:hidden}"},
    {"given", "{Label8(0)}/{Label9(0)}{Line1(16)? + : - }{Label8(1)}/{Label9(1)}"},
    {"sum", "{Label8(2)}/{Command12(0)}{Line1(23)? + : - }{Label8(3)}/{Command12(1)}"},
    {"colours", "{Command12(2)#} {Command12(3)#}"},
    {"fractions@6", "{Label15(0)}/{Label16(0)} {Label15(1)}/{Label16(1)}"},
    {"answer", "{Command18(0)}/{Command18(3)}"},
    {"verdict@6", "{Command18(0)#} {Command18(3)#} {Command19#}"},
    {"eq2", "{Line7(4)?{Line7(5)?yes:no}:no}"},
    {"bar2", "{Line7(6)?yes:no}"},
    {"fractions@5",
     "{Label12(0)}/{Label13(0)} {Label12(1)}/{Label13(1)} {Label12(2)}/{Label13(2)}"},
    {"operators", "{Line5(10)?{Line5(9)?+:-}:?} {Line5(16)?{Line5(15)?+:-}:?}"},
    {"numerators", "{Command14(0)},{Command14(1)},{Command14(2)},{Command14(3)}"},
    {"common", "{Label13(3)},{Label13(4)},{Label13(5)},{Label13(6)}"},
    {"verdict@5", "{Command14(0)#} {Command14(1)#} {Command14(2)#} {Command14(3)#} {Command17#}"},
    {"comprobar", "{Command17?shown:hidden}"}};

// The keys a pupil presses by name (backtab: Shift+Tab).
inline const QMap<QString, Qt::Key> Keys = {
    {"down", Qt::Key_Down},    {"up", Qt::Key_Up},         {"end", Qt::Key_End},
    {"tab", Qt::Key_Tab},      {"backtab", Qt::Key_Tab},   {"space", Qt::Key_Space},
    {"enter", Qt::Key_Return}, {"escape", Qt::Key_Escape}, {"backspace", Qt::Key_Backspace},
    {"delete", Qt::Key_Delete}};

class Pupil {
  public:
    explicit Pupil(App& app) : app(app) {}

    void act(const QString& word) {
        static const QRegularExpression repeated(R"(^(.*)\*(\d+)$)"), digits(R"(\d+)");
        const QMap<QString, QString>& presses = pressed();
        if (const auto m = repeated.match(word); m.hasMatch()) {
            for (int i = 0; i < m.captured(2).toInt(); ++i) act(m.captured(1));
            return;
        }
        if (presses.contains(word)) return click(presses[word]);
        if (const auto m = digits.match(word); m.hasMatch()) {
            const QString numbered =
                QString(word).replace(m.capturedStart(), m.capturedLength(), "#");
            if (presses.contains(numbered))
                return click(QString(presses[numbered]).replace('#', m.captured()));
        }
        QStringList c;  // the captures of the pattern that matched
        const auto is = [&](const char* pattern) { return matches(word, pattern, c); };
        const auto n = [&](int i) { return c[i].toInt(); };
        const auto deal = [&](double m, double first, int i) { app.random.deal(m, first, n(i)); };
        if (is(R"(deal(\d+)/(\d+),(\d+)/(\d+))"))
            return deal(11, 2, 2), deal(n(2), 1, 1), deal(11, 2, 4), deal(n(4), 1, 3);
        if (is(R"(product(\d+)/(\d+),(\d+)/(\d+))"))
            return deal(10, 1, 1), deal(10, 3, 2), deal(10, 1, 3), deal(10, 3, 4);
        if (is(R"(sum(\d+)/(\d+),(\d+)/(\d+),(\d+)/(\d+))"))
            for (int i : {1, 3, 5}) deal(10, 1, i), deal(10, 2, i + 1);
        if (is(R"(simplify(\S+)/(\S+))")) dealTerm(0, c[1]), dealTerm(1, c[2]);
        if (is(R"(simplify([ND]):(\S+))")) dealTerm(c[1] == "D", c[2]);
        if (is("random:(.+)"))
            for (const QString& r : c[1].split(',')) app.random.script({r.toDouble()});
        if (is("stain"))
            for (const char* picture : {"Picture1", "Picture2"})
                app.picture(picture).surface().setPixel(1, 1, Stain);
        if (is("multiply|divide")) {
            QWidget* option = control(QStringLiteral("Option1(%1)").arg(word == "divide")).widget();
            leftClick(option, QPoint(8, option->height() / 2));
        }
        if (is("check")) click(section() == 6 ? "Command19" : "Command17");
        if (is("#(.+)")) padKeys(c[1]);
        if (is(R"(F(\d)(:?)=(-?\d+)(?:/(-?\d+))?)")) {
            const auto write = [&](const QString& number) {
                c[2].isEmpty() ? padKeys(number) : padKeys(keysFor(number.toLongLong()));
            };
            act(QStringLiteral("@%1").arg(2 * n(1))), write(c[3]);
            if (!c[4].isEmpty()) act(QStringLiteral("@%1").arg(2 * n(1) + 1)), write(c[4]);
        }
        if (is(R"(list(\d):(\d+))")) choose(n(1), c[2]);
        if (is(R"(lists:(\d+))")) choose(0, c[1]), choose(1, c[1]), choose(2, c[1]);
        if (is(R"(e(\d)=(-?\d+))")) countTo("e" + c[1], n(2));
        if (is(R"(set(-?\d+),(-?\d+),(-?\d+),(-?\d+))"))
            for (int i = 0; i <= 3; ++i) countTo(QStringLiteral("e%1").arg(i), n(i + 1));
        if (is(R"(type(\d):(\S+))")) QTest::keyClicks(list(n(1)).widget(), c[2]);
        if (is(R"(key(\d):(down|up|end))")) QTest::keyClick(list(n(1)).widget(), Keys[c[2]]);
        if (is(R"((right|middle|shift|)tap(\d+)(?:@(\d+)/(\d+))?)"))
            tap(sectorPixel(n(2), n(3), std::max(1, n(4))),
                c[1] == "right"    ? Qt::RightButton
                : c[1] == "middle" ? Qt::MiddleButton
                                   : Qt::LeftButton,
                c[1] == "shift" ? Qt::ShiftModifier : Qt::NoModifier);
        if (is(R"(history:=(\d+))")) state().HistoryCount = n(1);
        if (is(R"(keys:(\S+))"))  // digits on the main row, "+" and "-" on the keypad
            for (const QChar k : c[1])
                QTest::keyClick(QApplication::focusWidget(), k.toLatin1(),
                                k.isDigit() ? Qt::NoModifier : Qt::KeypadModifier);
        if (is("kp([0-9])"))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(Qt::Key_0 + n(1)),
                            Qt::KeypadModifier);
        if (is("tab|backtab|space|enter|escape|backspace|delete")) {
            QTest::keyClick(QApplication::focusWidget(), Keys[word],
                            word == "backtab" ? Qt::ShiftModifier : Qt::NoModifier);
            QCoreApplication::processEvents();  // a window shown or left takes the keyboard
        }
        if (c.isEmpty()) throw std::invalid_argument("no such press: " + word.toStdString());
    }

    QString read(const QString& key) {
        QStringList c;
        const auto is = [&](const char* pattern) { return matches(key, pattern, c); };
        const auto yes = [](bool b) { return QString(b ? "yes" : "no"); };
        const auto number = [](double value) { return QString::number(value); };
        const auto n = [&](int i) { return c[i].toInt(); };
        const QString here = QStringLiteral("%1@%2").arg(key).arg(section());
        if (Readings.contains(here)) return compose(Readings[here]);
        if (Readings.contains(key)) return compose(Readings[key]);
        if (is(R"(F(\d))"))  // the simplify exercise's fractions, F0 (given) to F5
            return this->number(2 * n(1)).Caption() + "/" + this->number(2 * n(1) + 1).Caption();
        if (is(R"(working(\d))")) return app.label("Label14(" + c[1] + ")").Caption();
        if (is("whole([12])"))
            return number(c[1] == "1" ? state().WholeUnits1 : state().WholeUnits2);
        if (is("(blue|white)([12])"))
            return number(sectorRegions(app.picture("Picture" + c[2]).surface())
                              .count(c[1] == "blue" ? Blue : White));
        if (is(R"(sector(\d+)(?:@(\d+)/(\d+))?)")) {
            const QPoint p = sectorPixel(n(1), n(2), std::max(1, n(3)));
            return colourName(app.picture("Picture1").Point(p.x(), p.y()));
        }
        if (is("stained([12])")) return yes(app.picture("Picture" + c[1]).Point(1, 1) == Stain);
        if (is("steps")) {  // "a : p/b : p = c/d", empty while hidden
            const QString shown = parts("Line1(7-12) Label6(1-2) Label7(1-2)");
            if (shown != "all") return shown == "hidden" ? "" : shown;
            return compose("{Label6(1)}/{Label7(1)} = {Label6(2)}/{Label7(2)}");
        }
        if (is("result")) {
            const QString shown = parts("Command12(2-7) Line1(24-26)");
            return compose("{Command12(2)}/{Command12(3)}") + (shown == "all" ? "" : " " + shown);
        }
        if (is("arrows")) return arrows(0) + "&" + arrows(1);
        if (is("muybien")) return number(app.messages.shown.count("Muy bien"));
        if (is("said")) return app.messages.shown.join(" | ");
        if (is("pies")) return pies();
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
        if (is("shown|locked")) {
            QString bits;
            for (int i = 0; i <= 11; ++i)
                bits += (key == "shown" ? this->number(i).Visible() : !this->number(i).Enabled())
                            ? '1'
                            : '0';
            return bits;
        }
        if (is(R"(link(\d))")) {
            const Control& button = control(QStringLiteral("Command21(%1)").arg(c[1]));
            if (!button.Visible()) return "hidden";
            return colourName(fillShown(button)) + (button.Enabled() ? "" : " locked");
        }
        if (is(R"(ink(\d+))")) {
            const Label& label = this->number(n(1));
            return showsColour(label, Blue)             ? "blue"
                   : showsColour(label, RGB(255, 0, 0)) ? "red"
                                                        : "other";
        }
        if (is(R"(top(\d+))")) return number(this->number(n(1)).Top());
        if (is("pad")) return app.form().numberPad().window()->Label1.Caption();
        if (is("padwindow")) {
            const Form2* pad = app.form().numberPad().window();
            return !pad ? "none" : pad->isVisible() ? "shown" : "hidden";
        }
        if (is("focus")) {  // what has the keyboard: "menu3", "@2", "List1(0)", "Form2.Command3"
            const QWidget* f = QApplication::focusWidget();
            if (!f || f->window() != &app.form())
                return f ? f->window()->objectName() + "." + f->objectName() : "none";
            const QString index = f->objectName().section('(', 1).remove(')');
            for (auto it = pressed().begin(); it != pressed().end(); ++it)
                if (QString(it.value()).replace('#', index) == f->objectName())
                    return QString(it.key()).replace('#', index);
            return f->objectName();
        }
        if (is("described([12])"))  // what a screen reader hears of a picture
            return QAccessible::queryAccessibleInterface(app.picture("Picture" + c[1]).widget())
                ->text(QAccessible::Description);
        if (is(R"(multiples(\d))")) {  // "4x13": the list holds 4, 8, ..., 52
            const ListBox& l = list(n(1));
            for (int row = 0; row < l.ListCount(); ++row)
                if (Val(l.List(row)) != Val(l.List(0)) * (row + 1)) return "not multiples";
            return QStringLiteral("%1x%2").arg(l.List(0)).arg(l.ListCount());
        }
        if (is(R"(selected(\d))")) return list(n(1)).List(list(n(1)).ListIndex());
        throw std::invalid_argument("no such reading: " + key.toStdString());
    }

    // Brings an exercise's number button ("N", "D", "e0".."e3") to `target` with its own
    // click (+1), its "+5" and its "-1".
    void countTo(const QString& word, double target) {
        const QString field = word.startsWith('e')
                                  ? QStringLiteral("{Command14(%1)}").arg(word.mid(1))
                                  : QStringLiteral("{Command18(%1)}").arg(word == "N" ? 0 : 3);
        for (int guard = 0; guard < 10000; ++guard) {
            const QString text = compose(field);
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
    Label& number(int i) const { return app.label(QStringLiteral("Label17(%1)").arg(i)); }
    ListBox& list(int i) const { return app.controls().array<ListBox>("List1")(i); }
    int section() const { return state().CurrentSection; }
    Form1State& state() const { return app.form().state(); }

    // The pixel of Picture1 in the middle of `sector` of the circle in cell `cell` of `cells`,
    // at 0.6 of its radius, on even coordinates so that a scaled display can point at it.
    QPoint sectorPixel(int sector, int cell = 0, int cells = 1) const {
        const PictureBox& picture = app.picture("Picture1");
        const double n = Val(app.label("Label1(1)").Caption());
        // A numerator one past n·(cells - 1) has `cells` cells; n has one circle in the middle.
        const Wheel w = wheelsOf(picture.ScaleWidth(), picture.ScaleHeight(), n,
                                 cells > 1 ? n * (cells - 1) + 1 : n)
                            .at(std::size_t(cell));
        const double angle = (sector + 0.5) * 6.28318 / n;
        return {int(std::lround((w.cx + 0.6 * w.r * std::cos(angle)) / 2)) * 2,
                int(std::lround((w.cy - 0.6 * w.r * std::sin(angle)) / 2)) * 2};
    }
    // A real mouse click on Picture1 over one of its pixels.
    void tap(QPoint pixel, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers keys = {}) {
        QWidget* widget = app.picture("Picture1").widget();
        const double ratio = widget->devicePixelRatioF();
        QTest::mouseClick(widget, button, keys,
                          QPoint(int(std::lround(pixel.x() / ratio)) + PictureBox::border,
                                 int(std::lround(pixel.y() / ratio)) + PictureBox::border));
    }

    App& app;
    static constexpr Colour Stain = RGB(1, 2, 3);

  private:
    // The word for each press, and the control it presses.
    static const QMap<QString, QString>& pressed() {
        static const QMap<QString, QString> all = [] {
            QMap<QString, QString> words;
            const QStringList list =
                QString(Presses).split(QRegularExpression(R"(\s+)"), Qt::SkipEmptyParts);
            for (int i = 0; i + 1 < list.size(); i += 2) words[list[i]] = list[i + 1];
            return words;
        }();
        return all;
    }
    static bool matches(const QString& text, const char* pattern, QStringList& captures) {
        const auto m = QRegularExpression(QStringLiteral("^(?:%1)$").arg(pattern)).match(text);
        if (!m.hasMatch()) return false;
        captures = m.capturedTexts();
        while (captures.size() < 8) captures << QString();  // groups that took no part
        return true;
    }
    Control& control(const QString& address) const { return app.at(address); }
    void click(const QString& address) { leftClick(control(address).widget()); }
    // Fills in a reading's fields, innermost first.
    QString compose(QString text) const {
        static const QRegularExpression field(R"(\{(\w+(?:\(\d+\))?)(#|\?([^{}:]*):([^{}]*))?\})");
        for (auto m = field.match(text); m.hasMatch(); m = field.match(text)) {
            Control& c = control(m.captured(1));
            QString value = c.Visible() ? m.captured(3) : m.captured(4);
            if (m.captured(2) == "#") value = colourName(fillShown(c));
            if (m.captured(2).isEmpty()) value = captionOf(c);
            text.replace(m.capturedStart(), m.capturedLength(), value);
        }
        return text;
    }
    // Whether all, none or only some of a group of controls show: "Line1(7-12) Label6(1-2)".
    QString parts(const QString& group) const {
        static const QRegularExpression range(R"((\w+)\((\d+)-(\d+)\))");
        int shown = 0, all = 0;
        for (const QString& item : group.split(' ')) {
            const auto m = range.match(item);
            for (int i = m.captured(2).toInt(); i <= m.captured(3).toInt(); ++i, ++all)
                shown += control(QStringLiteral("%1(%2)").arg(m.captured(1)).arg(i)).Visible();
        }
        return shown == all ? "all" : shown == 0 ? "hidden" : "partly";
    }
    // The factor written on the arrows of A (0) or B (1), empty while they are hidden.
    QString arrows(int fraction) const {
        const QString labels = fraction ? "Label11" : "Label10";
        const QString shown =
            parts(QStringLiteral("Line%1(0-9) %2(0-1)").arg(fraction + 3).arg(labels));
        if (shown != "all") return shown == "hidden" ? "" : shown;
        return compose(QStringLiteral("{%1(0)}|{%1(1)}").arg(labels));
    }
    // Which colours fill the sectors of the left and the right pie.
    QString pies() const {
        const Surface& picture = app.picture("Picture2").surface();
        const QMap<Colour, QString> names = {
            {RGB(0, 192, 192), "teal"}, {RGB(192, 0, 192), "magenta"}, {Blue, "blue"}};
        const std::vector<Colour> pixels = pixelsOf(picture);
        QStringList found[2];
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            QStringList& half = found[int(i % std::size_t(picture.width())) >= picture.width() / 2];
            if (names.contains(pixels[i]) && !half.contains(names[pixels[i]]))
                half << names[pixels[i]];
        }
        return found[0].join('+') + "|" + found[1].join('+');
    }
    void padKeys(const QString& keys) {
        Form2& pad = *app.form().numberPad().window();
        static const QStringList steps = {"+1", "-1", "+5", "-5", "+10", "-10"};
        if (steps.contains(keys)) return leftClick(pad.Command2(int(steps.indexOf(keys))).widget());
        for (QChar key : keys)
            leftClick((key == 'B' ? pad.Command3 : pad.Command1(key.digitValue())).widget());
    }
    // The keys that write `number` from any display: "B" and digits, or for a negative number
    // "B", "-1" and the digits d that make it as value · 10 + d.
    static QStringList keysFor(long long number) {
        if (number >= 0 && number < 100000) return {"B" + QString::number(number)};
        if (number >= 0) throw std::invalid_argument("no digits make " + std::to_string(number));
        QString digits;
        for (long long v = number; v != -1; v = (v - digits.front().digitValue()) / 10)
            digits.prepend(QChar('0' + int(((v % 10) + 10) % 10)));
        return {"B", "-1", digits};
    }
    void padKeys(const QStringList& keys) {
        for (const QString& k : keys) padKeys(k);
    }
    // Queues one draw of the simplify exercise's numerator (term 0) or denominator (term 1),
    // as the exponents of 2, 3, 5, 7 and 11: four values for 2 (from 1), three for 3 in the
    // numerator and four in the denominator, two for 5, 7 and 11 (from 0).
    void dealTerm(int term, const QString& exponents) {
        const int draws[2][5] = {{4, 3, 2, 2, 2}, {4, 4, 2, 2, 2}};
        for (int i = 0; i < 5; ++i)
            app.random.deal(draws[term][i], i == 0, exponents.split(',')[i].toInt());
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

}  // namespace rc::testing
