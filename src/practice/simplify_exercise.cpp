#include "practice/simplify_exercise.h"

#include <cmath>

#include "controls/numbers.h"
#include "practice/judging.h"

namespace rc {

SimplifyExercise::SimplifyExercise(const SectionKit& kit)
    : state_(kit.state),
      random_(kit.random),
      messages_(kit.messages),
      results_(kit.results),
      numberPad_(kit.numberPad),
      Label17(kit.controls.array<Label>("Label17")),
      Line7(kit.controls.array<Line>("Line7")),
      Command21(kit.controls.array<CommandButton>("Command21")) {
    Label17.onClick([this](int index) { Label17_Click(index); });
    Command21.onClick([this](int index) { Command21_Click(index); });
}

double SimplifyExercise::drawTerm(int threes) {
    double term = 0;
    do {
        term = std::pow(2, std::floor(4 * random_.Rnd()) + 1);
        term *= std::pow(3, std::floor(threes * random_.Rnd()));
        term *= std::pow(5, std::floor(2 * random_.Rnd()));
        term *= std::pow(7, std::floor(2 * random_.Rnd()));
        term *= std::pow(11, std::floor(2 * random_.Rnd()));
    } while (term > 1000 || term < 4);
    return term;
}

void SimplifyExercise::NewSimplifyExercise() {
    double N = 0, D = 0;
    do {
        N = drawTerm(3);
        D = drawTerm(4);
    } while (N == D);

    for (int i = 0; i <= 11; ++i) {
        Label17(i).setForeColor(White);
        Label17(i).setEnabled(true);
        Label17(i).setCaption(QStringLiteral("?"));
        if (i > 3) Label17(i).setVisible(false);
    }
    // A whole-number answer drops its label to the bars; every numerator goes back up.
    for (int i = 2; i <= 10; i += 2) Label17(i).setTop(Label17(0).Top());
    Label17(0).setCaption(Str(N));
    Label17(1).setCaption(Str(D));
    Command21(0).setEnabled(true);
    Command21(0).setBackColor(White);
    for (int i = 1; i <= 4; ++i) {
        Command21(i).setVisible(false);
        Command21(i).setEnabled(true);
        Command21(i).setBackColor(White);
    }
    for (int i = 4; i <= 15; ++i) Line7(i).setVisible(false);
}

// The number turns blue while the pad writes into it; its caption changes with the first key.
void SimplifyExercise::Label17_Click(int index) {
    Label17(index).setForeColor(Blue);
    numberPad_.openFor(index);
}

void SimplifyExercise::Command21_Click(int index) {
    const int k = index;
    const Link link{Label17(2 * k).Caption(), Label17(2 * k + 1).Caption(),
                    Label17(2 * k + 2).Caption(), Label17(2 * k + 3).Caption()};
    const LinkOutcome outcome = judgeLink(link, state_.Primes);
    if (outcome == LinkOutcome::SameTerms) {
        messages_.MsgBox(QStringLiteral("Numerador y denominador han de tener distinto número"));
        return;
    }
    if (k == 0) checkGivenFraction();

    Label& nextNum = Label17(2 * k + 2);
    Label& nextDen = Label17(2 * k + 3);
    switch (outcome) {
        case LinkOutcome::SameTerms:
        case LinkOutcome::Unjudged:
            break;
        case LinkOutcome::WholeAccepted:
            Command21(k).setBackColor(Blue);
            nextNum.setTop(nextNum.Top() + 300);
            accept(2 * k + 2);
            Command21(k).setEnabled(false);
            writeHistoryLine(k, true);
            break;
        case LinkOutcome::WholeRefused:
            Command21(k).setBackColor(Red);
            nextNum.setForeColor(Red);
            state_.HadErrors = -1;
            break;
        case LinkOutcome::Refused:
            nextNum.setForeColor(Red);
            nextDen.setForeColor(Red);
            Command21(k).setBackColor(Red);
            state_.HadErrors = -1;
            break;
        case LinkOutcome::Intermediate:
            accept(2 * k + 2);
            accept(2 * k + 3);
            if (k <= 3) openNextLink(k);
            Command21(k).setBackColor(Blue);
            Command21(k).setEnabled(false);
            break;
        case LinkOutcome::Final:
            accept(2 * k + 2);
            accept(2 * k + 3);
            Command21(k).setBackColor(Blue);
            Command21(k).setEnabled(false);
            writeHistoryLine(k, false);
            break;
    }
}

void SimplifyExercise::checkGivenFraction() {
    if (canSimplify(Val(Label17(0).Caption()), Val(Label17(1).Caption()), state_.Primes)) {
        accept(0);
        accept(1);
    } else {
        Label17(0).setForeColor(Red);
        Label17(1).setForeColor(Red);
        messages_.MsgBox(QStringLiteral("Esta fracción no se puede simplificar"));
    }
}

void SimplifyExercise::accept(int label) {
    Label17(label).setForeColor(Blue);
    Label17(label).setEnabled(false);
}

// The next numerator "?" and the "=" before it; its denominator "?" and bar too, unless the
// accepted denominator is 1 (the next answer is a lone whole number); and the next button.
void SimplifyExercise::openNextLink(int k) {
    Label17(2 * k + 4).setVisible(true);
    Line7(3 * k + 4).setVisible(true);
    Line7(3 * k + 5).setVisible(true);
    if (Val(Label17(2 * k + 3).Caption()) != 1) {
        Label17(2 * k + 5).setVisible(true);
        Line7(3 * k + 6).setVisible(true);
    }
    Command21(k + 1).setVisible(true);
}

// "24/36 = 12/18 = 2/3 =  * MUY BIEN *"; a chain that ends in a whole number ends "2 = ".
void SimplifyExercise::writeHistoryLine(int k, bool wholeNumber) {
    QString line;
    for (int j = 0; j <= k + 1; ++j) {
        line += Label17(2 * j).Caption();
        if (!(wholeNumber && j == k + 1)) line += "/" + Label17(2 * j + 1).Caption();
        line += " = ";
    }
    line += state_.HadErrors ? " * CON ERRORES *" : " * MUY BIEN *";
    results_.writeLine(line);
}

}  // namespace rc
