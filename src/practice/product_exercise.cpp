#include "practice/product_exercise.h"

#include <cmath>

#include "controls/numbers.h"
#include "practice/judging.h"

namespace rc {

ProductExercise::ProductExercise(const SectionKit& kit)
    : state_(kit.state),
      random_(kit.random),
      results_(kit.results),
      Label15(kit.controls.array<Label>("Label15")),
      Label16(kit.controls.array<Label>("Label16")),
      Line6(kit.controls.array<Line>("Line6")),
      Command18(kit.controls.array<CommandButton>("Command18")),
      Option1(kit.controls.array<OptionButton>("Option1")),
      Command19(kit.controls.single<CommandButton>("Command19")) {
    Option1.onClick([this](int index) { Option1_Click(index); });
    Command18.onClick([this](int index) { Command18_Click(index); });
    Command19.onClick([this] { Command19_Click(); });
}

// Numerators 1..10 and denominators 3..12; the operation chosen last stays chosen.
void ProductExercise::NewProductExercise() {
    for (int i = 0; i <= 1; ++i) {
        Label15(i).setCaption(Str(std::floor(10 * random_.Rnd()) + 1));
        Label16(i).setCaption(Str(std::floor(10 * random_.Rnd()) + 3));
    }
    Command18(0).setCaption(QString());
    Command18(3).setCaption(QString());
    showOperator(!Option1(0).Value());
    clearVerdict();
}

void ProductExercise::Option1_Click(int index) {
    showOperator(index == 1);
}

void ProductExercise::showOperator(bool division) {
    Line6(5).setVisible(!division);
    Line6(6).setVisible(!division);
    Line6(7).setVisible(division);
    Line6(8).setVisible(division);
}

void ProductExercise::clearVerdict() {
    Command18(0).setBackColor(SystemColour::ButtonFace);
    Command18(3).setBackColor(SystemColour::ButtonFace);
    Command19.setBackColor(SystemColour::ButtonFace);
}

// Buttons 0..2 work on the numerator (+1, +5, -1), 3..5 on the denominator, without bounds.
void ProductExercise::Command18_Click(int index) {
    static constexpr double change[] = {1, 5, -1, 1, 5, -1};
    CommandButton& target = Command18(index < 3 ? 0 : 3);
    target.setCaption(Str(Val(target.Caption()) + change[index]));
    clearVerdict();
}

void ProductExercise::Command19_Click() {
    const bool division = !Option1(0).Value();
    const TermsVerdict verdict =
        judgeProduct(Val(Label15(0).Caption()), Val(Label16(0).Caption()),
                     Val(Label15(1).Caption()), Val(Label16(1).Caption()), division,
                     Val(Command18(0).Caption()), Val(Command18(3).Caption()));
    Command18(0).setBackColor(verdict.numerator ? Green : Red);
    Command18(3).setBackColor(verdict.denominator ? Green : Red);
    if (!verdict.both()) {
        state_.HadErrors = -1;
        Command19.setBackColor(Red);
        return;
    }
    Command19.setBackColor(Green);
    results_.writeLine(
        Label15(0).Caption() + "/" + Label16(0).Caption() + (division ? " : " : " X ") +
        Label15(1).Caption() + "/" + Label16(1).Caption() + " = " + Command18(0).Caption() + "/" +
        Command18(3).Caption() + (state_.HadErrors ? " ** CON ERRORES **" : " ** MUY BIEN **"));
}

}  // namespace rc
