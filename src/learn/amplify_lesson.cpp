#include "learn/amplify_lesson.h"

#include <algorithm>
#include <cfloat>

#include "controls/numbers.h"
#include "learn/step_caption.h"

namespace rc {

AmplifyLesson::AmplifyLesson(const SectionKit& kit)
    : state_(kit.state),
      pies_(kit.pies),
      Command4(kit.controls.array<CommandButton>("Command4")),
      Command5(kit.controls.array<CommandButton>("Command5")),
      Command6(kit.controls.array<CommandButton>("Command6")),
      Command7(kit.controls.array<CommandButton>("Command7")),
      Command8(kit.controls.array<CommandButton>("Command8")),
      Label2(kit.controls.array<Label>("Label2")),
      Label3(kit.controls.array<Label>("Label3")),
      Label4(kit.controls.array<Label>("Label4")),
      Label5(kit.controls.array<Label>("Label5")) {
    Command4.onClick([this](int index) { Command4_Click(index); });
    Command5.onClick([this](int index) { Command5_Click(index); });
    Command6.onClick([this](int index) { Command6_Click(index); });
    Command7.onClick([this](int index) { Command7_Click(index); });
    Command8.onClick([this](int index) { Command8_Click(index); });
}

void AmplifyLesson::ShowAmplified() {
    const double m = state_.MultiplierIndex + 1;
    Label4(1).setCaption(Str(m));
    Label5(1).setCaption(Str(m));
    Label4(2).setCaption(Label4(0).Caption() + QStringLiteral(" X ") + Str(m));
    Label5(2).setCaption(Label5(0).Caption() + QStringLiteral(" X ") + Str(m));
    // The panel's "--" feeds the base denominator, so it can grow past anything a double
    // holds; the product then stays at the largest double instead of becoming infinite.
    const double a = Val(Label4(0).Caption()), b = Val(Label5(0).Caption());
    Label4(3).setCaption(Str(std::min(a * m, DBL_MAX)));
    Label5(3).setCaption(Str(std::min(b * m, DBL_MAX)));
    Label2(0).setCaption(Label4(3).Caption());
    Label2(1).setCaption(Label5(3).Caption());
    pies_.DrawPies2();
}

// The panel's own buttons stop growing the fraction once its last drawing had 16 whole
// circles; they always redraw, refused or not.
void AmplifyLesson::Command4_Click(int index) {
    stepDrawnNumerator(Label2(0), index, state_.WholeUnits2);
    pies_.DrawPies2();
}

// Also moves the base denominator of the amplify display to the panel's new denominator,
// without recomputing the display.
void AmplifyLesson::Command5_Click(int index) {
    if (stepDrawnDenominator(Label2(1), index, state_.WholeUnits2))
        Label5(0).setCaption(Label2(1).Caption());
    pies_.DrawPies2();
}

void AmplifyLesson::Command6_Click(int index) {
    state_.MultiplierIndex = index;
    ShowAmplified();
}

void AmplifyLesson::Command7_Click(int index) {
    if (stepCaption(Label4(0), index, 0, 200)) ShowAmplified();
    Label3(2).setVisible(false);
}

void AmplifyLesson::Command8_Click(int index) {
    if (stepCaption(Label5(0), index, 2, 200)) ShowAmplified();
    Label3(2).setVisible(false);
}

}  // namespace rc
