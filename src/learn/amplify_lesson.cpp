#include "learn/amplify_lesson.h"

#include <algorithm>
#include <cfloat>

#include "controls/numbers.h"
#include "learn/step_caption.h"
#include "pictures/pie_renderer.h"

namespace rc {

AmplifyLesson::AmplifyLesson(const Controls& controls, Form1State& state, PieRenderer& pies)
    : state_(state),
      pies_(pies),
      Command4(controls.array<CommandButton>("Command4")),
      Command5(controls.array<CommandButton>("Command5")),
      Command6(controls.array<CommandButton>("Command6")),
      Command7(controls.array<CommandButton>("Command7")),
      Command8(controls.array<CommandButton>("Command8")),
      Label2(controls.array<Label>("Label2")),
      Label3(controls.array<Label>("Label3")),
      Label4(controls.array<Label>("Label4")),
      Label5(controls.array<Label>("Label5")) {
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
    const double numerator = Val(Label2(0).Caption());
    if (index == 0) {
        if (state_.WholeUnits2 < 16) Label2(0).setCaption(Str(numerator + 1));
    } else {
        if (numerator >= 1) Label2(0).setCaption(Str(numerator - 1));
    }
    pies_.DrawPies2();
}

// Also moves the base denominator of the amplify display to the panel's new denominator,
// without recomputing the display.
void AmplifyLesson::Command5_Click(int index) {
    const double denominator = Val(Label2(1).Caption());
    if (index == 0) {
        if (denominator < 150) {
            Label2(1).setCaption(Str(denominator + 1));
            Label5(0).setCaption(Label2(1).Caption());
        }
    } else {
        if (state_.WholeUnits2 < 16 && denominator >= 3) {
            Label2(1).setCaption(Str(denominator - 1));
            Label5(0).setCaption(Label2(1).Caption());
        }
    }
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
