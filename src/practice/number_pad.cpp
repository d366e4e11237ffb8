#include "practice/number_pad.h"

#include <QRegularExpression>
#include <cmath>
#include <string>

#include "controls/numbers.h"

namespace rc {

Form2::Form2(Form& owner)
    : Form(QStringLiteral("Form2"), form2Catalogue(), BorderStyle::FixedSingle, &owner),
      Label1(controls().single<Label>("Label1")),
      Command1(controls().array<CommandButton>("Command1")),
      Command2(controls().array<CommandButton>("Command2")),
      Command3(controls().single<CommandButton>("Command3")) {
    setBackColor(RGB(255, 255, 192));
    setClientSize(Form2ClientWidth, Form2ClientHeight);
    setAccessibleName(QStringLiteral("Teclado de números"));
}

void Form2::Form_Load(const Controls& form1) {
    const Frame& Frame9 = form1.single<Frame>("Frame9");
    const Frame& sectionArea = form1.array<Frame>("Frame1")(0);
    setTop(Frame9.Top() + sectionArea.Top() + Frame9.Height());
    setLeft(Frame9.Left() + sectionArea.Left());
    Label1.setCaption(QStringLiteral("0"));
    for (int i = 0; i <= 9; ++i) Command1(i).setCaption(Str(i));
}

// ---------------------------------------------------------------------------------------------
// Whole numbers as text: a sign and the digits of the magnitude, without leading zeros.

namespace {

struct Whole {
    bool negative = false;
    std::string digits = "0";  // most significant first
};

Whole parse(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^(-?)0*([0-9]+)$"));
    const auto match = plain.match(text);
    if (!match.hasMatch()) {
        // Not one of the pad's own numbers (a design caption): read it the usual way.
        const QString shown = Str(std::trunc(Val(text)));
        return shown.contains(QLatin1Char('E')) ? Whole{} : parse(shown);
    }
    Whole w{match.captured(1) == QLatin1String("-"), match.captured(2).toStdString()};
    if (w.digits == "0") w.negative = false;
    return w;
}

QString text(const Whole& w) {
    return QString::fromStdString((w.negative && w.digits != "0" ? "-" : "") + w.digits);
}

bool lessThan(const std::string& digits, unsigned small) {
    return digits.size() < 10 && std::stoull(digits) < small;
}

// digits + small, digits - small (digits not below small), both of magnitudes.
std::string plus(std::string digits, unsigned small) {
    unsigned long long carry = small;
    for (auto it = digits.rbegin(); it != digits.rend() && carry; ++it) {
        carry += unsigned(*it - '0');
        *it = char('0' + carry % 10);
        carry /= 10;
    }
    if (carry) digits.insert(0, std::to_string(carry));
    return digits;
}
std::string minus(std::string digits, unsigned small) {
    long long borrow = small;
    for (auto it = digits.rbegin(); it != digits.rend() && borrow; ++it) {
        long long d = (*it - '0') - borrow % 10;
        borrow /= 10;
        if (d < 0) d += 10, ++borrow;
        *it = char('0' + d);
    }
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

Whole add(Whole w, long long change) {
    const unsigned size = unsigned(std::llabs(change));
    if (w.digits == "0" || w.negative == (change < 0)) {
        if (w.digits == "0") w.negative = change < 0;
        w.digits = plus(w.digits, size);
    } else if (lessThan(w.digits, size)) {
        w.digits = std::to_string(size - std::stoull(w.digits));
        w.negative = !w.negative;
    } else {
        w.digits = minus(w.digits, size);
    }
    return w;
}

}  // namespace

QString appendDigit(const QString& number, int digit) {
    Whole w = parse(number);
    if (w.digits != "0") w.digits += '0';
    // value · 10 + digit: for a negative value the digit comes off its magnitude.
    return text(add(w, digit));
}

QString addToWhole(const QString& number, int change) {
    return text(add(parse(number), change));
}

// ---------------------------------------------------------------------------------------------

NumberPad::NumberPad(Form& owner, const Controls& form1, Module1& module1)
    : owner_(owner), form1_(form1), module1_(module1) {}

NumberPad::~NumberPad() {
    unload();
}

void NumberPad::load() {
    Form2& pad = form2_.load(owner_);
    pad.Form_Load(form1_);
    pad.Command1.onClick([this](int index) { Command1_Click(index); });
    pad.Command2.onClick([this](int index) { Command2_Click(index); });
    pad.Command3.onClick([this] { Command3_Click(); });
    pad.onMouseMove(
        [this](int button, int shift, double x, double y) { Form_MouseMove(button, shift, x, y); });
}

void NumberPad::openFor(int label) {
    if (!form2_.loaded()) load();
    Form2& pad = *form2_.get();
    pad.Show();
    pad.Label1.setCaption(QStringLiteral("0"));
    module1_.EditedLabel = label;
    writing_ = true;
}

void NumberPad::putAway() {
    writing_ = false;
    if (form2_.loaded()) form2_.get()->Hide();
}

// A number locked by an accepted check, or hidden by a new exercise, is never written.
bool NumberPad::editable() const {
    if (!writing_ || !form2_.loaded()) return false;
    const Label& edited = form1_.array<Label>("Label17")(module1_.EditedLabel);
    return edited.Enabled() && edited.Visible();
}

void NumberPad::show(const QString& number) {
    form2_.get()->Label1.setCaption(number);
    form1_.array<Label>("Label17")(module1_.EditedLabel).setCaption(number);
}

void NumberPad::Command1_Click(int index) {
    if (!editable()) return;
    const QString display = form2_.get()->Label1.Caption();
    if (Val(display) < 10000) show(appendDigit(display, index));
}

void NumberPad::Command2_Click(int index) {
    static constexpr int change[] = {1, -1, 5, -5, 10, -10};
    if (editable()) show(addToWhole(form2_.get()->Label1.Caption(), change[index]));
}

void NumberPad::Command3_Click() {
    if (editable()) show(QStringLiteral("0"));
}

void NumberPad::Form_MouseMove(int button, int, double x, double y) {
    Form2& pad = *form2_.get();
    if (button == 0) {
        GrabX = float(x);
        GrabY = int(roundHalfEven(y));
        return;
    }
    pad.setTop(pad.Top() + y - GrabY);
    pad.setLeft((x + pad.Left()) - GrabX);
}

}  // namespace rc
