#include "learn/simplify_lesson.h"

#include <array>
#include <cmath>

#include "controls/numbers.h"
#include "learn/step_caption.h"

namespace rc {

namespace {
// The prime of each ": p" button.
constexpr std::array<int, 7> DivisorOfButton = {2, 3, 5, 7, 11, 13, 17};
}  // namespace

SimplifyLesson::SimplifyLesson(const SectionKit& kit)
    : state_(kit.state),
      pies_(kit.pies),
      Command9(kit.controls.array<CommandButton>("Command9")),
      Command10(kit.controls.array<CommandButton>("Command10")),
      Command11(kit.controls.array<CommandButton>("Command11")),
      Label2(kit.controls.array<Label>("Label2")),
      Label3(kit.controls.array<Label>("Label3")),
      Label6(kit.controls.array<Label>("Label6")),
      Label7(kit.controls.array<Label>("Label7")),
      Line1(kit.controls.array<Line>("Line1")) {
    Command9.onClick([this](int index) { Command9_Click(index); });
    Command10.onClick([this](int index) { Command10_Click(index); });
    Command11.onClick([this](int index) { Command11_Click(index); });
}

void SimplifyLesson::HideSimplifySteps() {
    for (int i = 7; i <= 12; ++i) Line1(i).setVisible(false);
    Label6(1).setVisible(false);
    Label7(1).setVisible(false);
    Label6(2).setVisible(false);
    Label7(2).setVisible(false);
}

void SimplifyLesson::ShowSimplifySteps() {
    for (int i = 7; i <= 12; ++i) Line1(i).setVisible(true);
    Label6(1).setVisible(true);
    Label7(1).setVisible(true);
    Label6(2).setVisible(true);
    Label7(2).setVisible(true);
}

// Divides the base fraction, which itself never changes, by the prime of the button; when the
// prime does not divide both terms the red message replaces the working and the panel stays.
void SimplifyLesson::Command9_Click(int index) {
    const double p = DivisorOfButton.at(static_cast<std::size_t>(index));
    const double a = roundHalfEven(Val(Label6(0).Caption()));
    const double b = roundHalfEven(Val(Label7(0).Caption()));
    if (std::fmod(a, p) == 0 && std::fmod(b, p) == 0) {
        ShowSimplifySteps();
        Label3(2).setVisible(false);
        Label6(1).setCaption(Label6(0).Caption() + QStringLiteral(" : ") + Str(p));
        Label7(1).setCaption(Label7(0).Caption() + QStringLiteral(" : ") + Str(p));
        Label6(2).setCaption(Str(a / p));
        Label7(2).setCaption(Str(b / p));
        Label2(0).setCaption(Label6(2).Caption());
        Label2(1).setCaption(Label7(2).Caption());
        pies_.DrawPies2();
    } else {
        HideSimplifySteps();
        Label3(2).setVisible(true);
    }
}

// Changing the base fraction hides the working but leaves a shown message; the panel shows the
// base fraction after every press, refused or not.
void SimplifyLesson::Command10_Click(int index) {
    if (stepCaption(Label6(0), index, 0, 200)) HideSimplifySteps();
    showBaseInPanel();
}

void SimplifyLesson::Command11_Click(int index) {
    if (stepCaption(Label7(0), index, 2, 200)) HideSimplifySteps();
    showBaseInPanel();
}

void SimplifyLesson::showBaseInPanel() {
    Label2(0).setCaption(Label6(0).Caption());
    Label2(1).setCaption(Label7(0).Caption());
    pies_.DrawPies2();
}

}  // namespace rc
