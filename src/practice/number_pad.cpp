#include "practice/number_pad.h"

#include <algorithm>

#include "controls/numbers.h"
#include "practice/pad_numbers.h"

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
    for (int i = 0; i <= 9; ++i) {
        Command1(i).setCaption(Str(i));
        Command1(i).setToolTipText(QStringLiteral("Tecla ") + Str(i));
    }
    Command2(0).setToolTipText(QStringLiteral("Tecla + del teclado numérico"));
    Command2(1).setToolTipText(QStringLiteral("Tecla - del teclado numérico"));
    Command3.setToolTipText(QStringLiteral("Retroceso o Supr"));
}

NumberPad::NumberPad(Form& owner, const Controls& form1, Module1& module1)
    : owner_(owner), form1_(form1), module1_(module1) {
    // In the main window Enter keeps its meaning (it opens the pad on the number that has the
    // keyboard, or presses a button); the pad's other keys are the pad's there too.
    owner_.onKeyDown([this](int keyCode, int shift) {
        return keyCode != KeyCode::Return && Form_KeyDown(keyCode, shift);
    });
}

NumberPad::~NumberPad() {
    unload();
}

void NumberPad::load() {
    Form2& pad = form2_.load(owner_);
    pad.Form_Load(form1_);
    pad.Command1.onClick([this](int index) { Command1_Click(index); });
    pad.Command2.onClick([this](int index) { Command2_Click(index); });
    pad.Command3.onClick([this] { Command3_Click(); });
    pad.onKeyDown([this](int keyCode, int shift) { return Form_KeyDown(keyCode, shift); });
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

bool NumberPad::Form_KeyDown(int keyCode, int) {
    if (!writing_ || !form2_.loaded() || !form2_.get()->isVisible()) return false;
    Form2& pad = *form2_.get();
    const auto digitOf = [keyCode](int zero) {
        return keyCode >= zero && keyCode <= zero + 9 ? keyCode - zero : -1;
    };
    if (const int digit = std::max(digitOf(KeyCode::Digit0), digitOf(KeyCode::Numpad0));
        digit >= 0) {
        pad.Command1(digit).click();
    } else if (keyCode == KeyCode::Back || keyCode == KeyCode::Delete) {
        pad.Command3.click();
    } else if (keyCode == KeyCode::Add || keyCode == KeyCode::Subtract) {
        pad.Command2(keyCode == KeyCode::Add ? 0 : 1).click();
    } else if (keyCode == KeyCode::Return) {
        const Label& edited = form1_.array<Label>("Label17")(module1_.EditedLabel);
        putAway();
        owner_.focusAfter(edited);
    } else {
        return false;
    }
    return true;
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
