#include "practice/number_pad.h"

#include "controls/numbers.h"

namespace rc {

Form2::Form2()
    : Form(QStringLiteral("Form2"), form2Catalogue(), BorderStyle::FixedSingle, true),
      Label1(controls().single<Label>("Label1")),
      Command1(controls().array<CommandButton>("Command1")) {
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

NumberPad::NumberPad(const Controls& form1, Module1& module1) : form1_(form1), module1_(module1) {}

NumberPad::~NumberPad() {
    unload();
}

void NumberPad::openFor(int label) {
    if (!form2_.loaded()) form2_.load().Form_Load(form1_);
    Form2& pad = *form2_.get();
    pad.Show();
    pad.Label1.setCaption(QStringLiteral("0"));
    module1_.EditedLabel = label;
}

}  // namespace rc
