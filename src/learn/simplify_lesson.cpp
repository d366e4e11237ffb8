#include "learn/simplify_lesson.h"

#include "pictures/pie_renderer.h"

namespace rc {

SimplifyLesson::SimplifyLesson(const Controls& controls, Form1State& state, PieRenderer& pies)
    : state_(state),
      pies_(pies),
      Command9(controls.array<CommandButton>("Command9")),
      Command10(controls.array<CommandButton>("Command10")),
      Command11(controls.array<CommandButton>("Command11")),
      Label2(controls.array<Label>("Label2")),
      Label3(controls.array<Label>("Label3")),
      Label6(controls.array<Label>("Label6")),
      Label7(controls.array<Label>("Label7")),
      Line1(controls.array<Line>("Line1")) {
    Command9.onClick([this](int index) { Command9_Click(index); });
    Command10.onClick([this](int index) { Command10_Click(index); });
    Command11.onClick([this](int index) { Command11_Click(index); });
}

void SimplifyLesson::HideSimplifySteps() {}
void SimplifyLesson::ShowSimplifySteps() {}
void SimplifyLesson::Command9_Click(int) {}
void SimplifyLesson::Command10_Click(int) {}
void SimplifyLesson::Command11_Click(int) {}

}  // namespace rc
