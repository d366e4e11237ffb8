#include "learn/amplify_lesson.h"

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

void AmplifyLesson::ShowAmplified() {}
void AmplifyLesson::Command4_Click(int) {}
void AmplifyLesson::Command5_Click(int) {}
void AmplifyLesson::Command6_Click(int) {}
void AmplifyLesson::Command7_Click(int) {}
void AmplifyLesson::Command8_Click(int) {}

}  // namespace rc
