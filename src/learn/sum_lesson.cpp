#include "learn/sum_lesson.h"

#include <cmath>

#include "controls/numbers.h"
#include "pictures/sector_wheel.h"

namespace rc {

SumLesson::SumLesson(const SectionKit& kit)
    : random_(kit.random),
      messages_(kit.messages),
      Label8(kit.controls.array<Label>("Label8")),
      Label9(kit.controls.array<Label>("Label9")),
      Label10(kit.controls.array<Label>("Label10")),
      Label11(kit.controls.array<Label>("Label11")),
      Command12(kit.controls.array<CommandButton>("Command12")),
      Command13(kit.controls.array<CommandButton>("Command13")),
      Line1(kit.controls.array<Line>("Line1")),
      Line3(kit.controls.array<Line>("Line3")),
      Line4(kit.controls.array<Line>("Line4")),
      Picture2(kit.controls.single<PictureBox>("Picture2")) {
    Command12.onClick([this](int index) { Command12_Click(index); });
    Command13.onClick([this](int index) { Command13_Click(index); });
    // What screen readers hear of the buttons: A′ and B′ and the result's terms are their
    // numbers, described by what a click does; the others are named after it.
    for (int i = 0; i <= 1; ++i) {
        const QString fraction = i == 0 ? "la primera fracción" : "la segunda fracción";
        const QString term = i == 0 ? "numerador del resultado" : "denominador del resultado";
        Command12(i).setDescription("Amplificar otra vez " + fraction);
        Command13(i).setSpokenNames("Deshacer una amplificación de " + fraction, {});
        Command12(i + 2).setDescription("Sumar uno al " + term);
        Command12(2 * i + 4).setSpokenNames("Sumar cinco al " + term, {});
        Command12(2 * i + 5).setSpokenNames("Restar uno al " + term, {});
    }
}

// A and B at most 1 (1 <= n <= d <= 12); A′ and B′ start as their copies. B is subtracted only
// when it is smaller than A, so the result is never negative.
void SumLesson::NewSumLesson() {
    for (int i = 0; i <= 1; ++i) {
        const double d = std::floor(random_.Rnd() * 11) + 2;
        Label9(i).setCaption(Str(d));
        const double n = std::floor(random_.Rnd() * d) + 1;
        Label8(i).setCaption(Str(n));
        Command12(i).setCaption(Label9(i).Caption());
        Label8(i + 2).setCaption(Label8(i).Caption());
        Command12(i + 2).setCaption(QString());
        Command12(i + 2).setBackColor(Green);
    }
    const double a = Val(Label8(0).Caption()) / Val(Label9(0).Caption());
    const double b = Val(Label8(1).Caption()) / Val(Label9(1).Caption());
    Line1(16).setVisible(b >= a);
    Line1(23).setVisible(b >= a);
    checkSameDenominators(Label9(0).Caption(), Label9(1).Caption());
}

void SumLesson::checkSameDenominators(const QString& a, const QString& b) {
    if (a == b) {
        ShowSumResult();
        SameDenominators = -1;
    } else {
        HideSumResult();
        SameDenominators = 0;
    }
}

void SumLesson::ShowSumResult() {
    for (int i : {24, 25, 26}) Line1(i).setVisible(true);
    for (int i = 2; i <= 7; ++i) Command12(i).setVisible(true);
}

void SumLesson::HideSumResult() {
    for (int i : {24, 25, 26}) Line1(i).setVisible(false);
    for (int i = 2; i <= 7; ++i) Command12(i).setVisible(false);
}

void SumLesson::resetResult() {
    for (int i : {2, 3}) {
        Command12(i).setCaption(QString());
        Command12(i).setBackColor(Green);
    }
}

// The arrows from A to A′ (fraction 0) or from B to B′ (1), shown with the factor that makes
// the one from the other (" X 3"), or hidden with their captions left as they are.
void SumLesson::showArrows(int fraction, bool shown) {
    ControlArray<Line>& lines = fraction == 0 ? Line3 : Line4;
    ControlArray<Label>& factors = fraction == 0 ? Label10 : Label11;
    for (int i = 0; i <= 9; ++i) lines(i).setVisible(shown);
    const double factor = Val(Command12(fraction).Caption()) / Val(Label9(fraction).Caption());
    for (int i = 0; i <= 1; ++i) {
        factors(i).setVisible(shown);
        if (shown) factors(i).setCaption(" X " + Str(factor));
    }
}

void SumLesson::ShowFirstArrows() {
    showArrows(0, true);
}
void SumLesson::HideFirstArrows() {
    showArrows(0, false);
}
void SumLesson::ShowSecondArrows() {
    showArrows(1, true);
}
void SumLesson::HideSecondArrows() {
    showArrows(1, false);
}

// A′ (or B′) gains or loses the terms of A (or B) `times` times; only its own arrows show.
void SumLesson::amplify(int fraction, double times) {
    CommandButton& denominator = Command12(fraction);
    Label& numerator = Label8(fraction + 2);
    denominator.setCaption(
        Str(Val(denominator.Caption()) + times * Val(Label9(fraction).Caption())));
    numerator.setCaption(Str(Val(numerator.Caption()) + times * Val(Label8(fraction).Caption())));
    if (fraction == 0) {
        HideSecondArrows();
        ShowFirstArrows();
    } else {
        HideFirstArrows();
        ShowSecondArrows();
    }
    resetResult();
}

void SumLesson::judgeNumerator() {
    const double a = Val(Label8(2).Caption()), b = Val(Label8(3).Caption());
    const double expected = Line1(16).Visible() ? a + b : a - b;
    Command12(2).setBackColor(Val(Command12(2).Caption()) == expected ? Blue : Red);
}

void SumLesson::judgeDenominator() {
    const bool right = Val(Command12(3).Caption()) == Val(Command12(0).Caption());
    Command12(3).setBackColor(right ? Blue : Red);
}

void SumLesson::Command12_Click(int index) {
    // The result's numerator (2) and its "+5" (4), "-1" (5); its denominator (3), 6 and 7.
    static constexpr double change[] = {0, 0, 1, 1, 5, -1, 5, -1};
    if (index <= 1) {
        amplify(index, 1);
    } else {
        const bool numerator = index == 2 || index == 4 || index == 5;
        CommandButton& target = Command12(numerator ? 2 : 3);
        target.setCaption(Str(Val(target.Caption()) + change[index]));
        if (numerator)
            judgeNumerator();
        else
            judgeDenominator();
    }
    checkSameDenominators(Command12(0).Caption(), Command12(1).Caption());
    DrawSumPies();
    if (Command12(2).BackColor() == Blue && Command12(3).BackColor() == Blue)
        messages_.MsgBox(QStringLiteral("Muy bien"));
}

// A step back, refused at factor 1; the pies are drawn again all the same.
void SumLesson::Command13_Click(int index) {
    if (Val(Command12(index).Caption()) - Val(Label9(index).Caption()) > 0) amplify(index, -1);
    checkSameDenominators(Command12(0).Caption(), Command12(1).Caption());
    DrawSumPies();
}

// One circle for A′ left and one for B′ right, their filled sectors in their own colours, or
// both blue once the denominators are the same. The background stays the picture's white.
// The description says both: "Primera fracción: 3 de 6 partes coloreadas. Segunda ...".
void SumLesson::DrawSumPies() {
    const double W = Picture2.ScaleWidth(), H = Picture2.ScaleHeight();
    const Colour outline = Picture2.ForeColor();
    const Colour first = SameDenominators ? Blue : Teal, second = SameDenominators ? Blue : Magenta;
    // The picture cleared and both circles drawn, in one go (Cls, then the circles).
    const SectorWheel pies[] = {{W / 4, H / 2, H / 2 - 2, Val(Command12(0).Caption()),
                                 Val(Label8(2).Caption()), first, White, outline},
                                {3 * W / 4, H / 2, H / 2 - 2, Val(Command12(1).Caption()),
                                 Val(Label8(3).Caption()), second, White, outline}};
    clearAndDrawSectorWheels(Picture2.surface(), Picture2.BackColor(), pies);
    Picture2.refresh();
    const auto parts = [this](int i) {
        return PieRenderer::colouredParts(Val(Label8(i + 2).Caption()),
                                          Val(Command12(i).Caption()));
    };
    Picture2.setDescription(
        QStringLiteral("Primera fracción: %1. Segunda fracción: %2").arg(parts(0), parts(1)));
}

}  // namespace rc
