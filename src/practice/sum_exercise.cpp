#include "practice/sum_exercise.h"

#include <cmath>

#include "controls/numbers.h"
#include "practice/judging.h"

namespace rc {

SumExercise::SumExercise(const SectionKit& kit)
    : state_(kit.state),
      random_(kit.random),
      results_(kit.results),
      Label12(kit.controls.array<Label>("Label12")),
      Label13(kit.controls.array<Label>("Label13")),
      Label14(kit.controls.array<Label>("Label14")),
      Line5(kit.controls.array<Line>("Line5")),
      List1(kit.controls.array<ListBox>("List1")),
      Command14(kit.controls.array<CommandButton>("Command14")),
      Command15(kit.controls.array<CommandButton>("Command15")),
      Command16(kit.controls.array<CommandButton>("Command16")),
      Command17(kit.controls.single<CommandButton>("Command17")) {
    List1.onClick([this](int index) { List1_Click(index); });
    Command14.onClick([this](int index) { Command14_Click(index); });
    Command15.onClick([this](int index) { Command15_Click(index); });
    Command16.onClick([this](int index) { Command16_Click(index); });
    Command17.onClick([this] { Command17_Click(); });
    // The counters over the four numerators, named for screen readers after what they change.
    const char* const numerators[] = {"al primer numerador", "al segundo numerador",
                                      "al tercer numerador", "al numerador del resultado"};
    for (int i = 0; i <= 3; ++i) {
        Command15(i).setSpokenNames(QStringLiteral("Sumar cinco %1").arg(numerators[i]), {});
        Command16(i).setSpokenNames(QStringLiteral("Restar uno %1").arg(numerators[i]), {});
    }
}

// Numerators 1..10 and denominators 2..11, drawn independently: a fraction may be improper or
// not in lowest terms, and denominators may repeat. The words under the lists keep the last
// exercise's working until an entry is selected.
void SumExercise::NewSumExercise() {
    for (int i = 0; i <= 2; ++i) {
        Label12(i).setCaption(Str(std::floor(10 * random_.Rnd()) + 1));
        Label13(i).setCaption(Str(std::floor(10 * random_.Rnd()) + 2));
        Command14(i).setCaption(QString());
        Command14(i).setBackColor(SystemColour::ButtonFace);
        Label13(i + 3).setCaption(QString());
    }
    SecondOperatorPlus = secondOperatorPlus(Val(Label12(0).Caption()), Val(Label13(0).Caption()),
                                            Val(Label12(1).Caption()), Val(Label13(1).Caption()),
                                            Val(Label12(2).Caption()), Val(Label13(2).Caption()));
    Line5(9).setVisible(SecondOperatorPlus);
    Line5(15).setVisible(SecondOperatorPlus);
    Command14(3).setCaption(QString());
    Command14(3).setBackColor(SystemColour::ButtonFace);
    Label13(6).setCaption(QString());
    Command17.setVisible(false);
    Command17.setBackColor(SystemColour::ButtonFace);
    MultipleChosen = false;
    for (int i = 0; i <= 2; ++i) fillMultiples(i);
}

// d, 2d, 3d, ... below d0·d1·d2 + 30: the product of the denominators is in every list.
void SumExercise::fillMultiples(int list) {
    const double bound =
        Val(Label13(0).Caption()) * Val(Label13(1).Caption()) * Val(Label13(2).Caption()) + 30;
    const double d = Val(Label13(list).Caption());
    List1(list).Clear();
    for (double j = 1; j * d < bound; ++j) List1(list).AddItem(Str(j * d));
}

double SumExercise::factor(int list) const {
    return List1(list).ListIndex() + 1;
}

// The common denominator shows only while the three selections are the same text; when they
// stop agreeing "COMPROBAR" goes away with it until they agree again, so that a sum over
// different denominators is never judged.
void SumExercise::List1_Click(int index) {
    const auto selected = [this](int i) { return List1(i).List(List1(i).ListIndex()); };
    const QString chosen = selected(index);
    if (selected(0) == chosen && selected(1) == chosen && selected(2) == chosen) {
        for (int i = 3; i <= 6; ++i) Label13(i).setCaption(chosen);
        MultipleChosen = true;
        if (numeratorsSet()) Command17.setVisible(true);
    } else {
        for (int i = 3; i <= 6; ++i) Label13(i).setCaption(QString());
        MultipleChosen = false;
        Command17.setVisible(false);
    }
    // "4 X 3 = 12": how the selected multiple comes from the denominator.
    Label14(index).setCaption(Str(Val(Label13(index).Caption())) + " X " + Str(factor(index)) +
                              " = " + chosen);
}

void SumExercise::Command14_Click(int index) {
    step(index, 1);
}

void SumExercise::Command15_Click(int index) {
    step(index, 5);
}

void SumExercise::Command16_Click(int index) {
    step(index, -1);
}

// An unset numerator counts as 0; there is no bound either way. Only the changed number loses
// the colour of an earlier check.
void SumExercise::step(int index, double by) {
    Command14(index).setCaption(Str(Val(Command14(index).Caption()) + by));
    if (numeratorsSet() && MultipleChosen) Command17.setVisible(true);
    Command14(index).setBackColor(SystemColour::ButtonFace);
}

bool SumExercise::numeratorsSet() const {
    for (int i = 0; i <= 3; ++i)
        if (Command14(i).Caption().isEmpty()) return false;
    return true;
}

// The expected numerators come from the lists' selections, not from what the pupil wrote for
// the three equivalent fractions. "COMPROBAR" stays for another check after a right answer.
void SumExercise::Command17_Click() {
    const SumVerdict verdict =
        judgeSum({Val(Label12(0).Caption()), Val(Label12(1).Caption()), Val(Label12(2).Caption())},
                 {factor(0), factor(1), factor(2)}, SecondOperatorPlus,
                 {Val(Command14(0).Caption()), Val(Command14(1).Caption()),
                  Val(Command14(2).Caption()), Val(Command14(3).Caption())});
    for (int i = 0; i <= 3; ++i) Command14(i).setBackColor(verdict.right[i] ? Green : Red);
    if (!verdict.all()) {
        Command17.setBackColor(Red);
        state_.HadErrors = -1;
        return;
    }
    Command17.setBackColor(Green);
    const auto fraction = [this](int i) {
        return Label12(i).Caption() + "/" + Label13(i).Caption();
    };
    results_.writeLine(fraction(0) + " + " + fraction(1) + (Line5(9).Visible() ? " + " : " - ") +
                       fraction(2) + " = " + Command14(3).Caption() + "/" + Label13(6).Caption() +
                       (state_.HadErrors ? " *** CON ERRORES ***" : " *** MUY BIEN ***"));
}

}  // namespace rc
