#include "learn/representation_lesson.h"

#include "pictures/pie_renderer.h"

namespace rc {

RepresentationLesson::RepresentationLesson(const Controls& controls, Form1State& state,
                                           PieRenderer& pies)
    : state_(state),
      pies_(pies),
      Command2(controls.array<CommandButton>("Command2")),
      Command3(controls.array<CommandButton>("Command3")),
      Label1(controls.array<Label>("Label1")),
      Picture1(controls.single<PictureBox>("Picture1")) {
    Command2.onClick([this](int index) { Command2_Click(index); });
    Command3.onClick([this](int index) { Command3_Click(index); });
    Picture1.onMouseDown([this](int button, int shift, double x, double y) {
        Picture1_Mousedown(button, shift, x, y);
    });
}

void RepresentationLesson::Command2_Click(int) {}

void RepresentationLesson::Command3_Click(int) {}

void RepresentationLesson::Picture1_Mousedown(int, int, double, double) {}

}  // namespace rc
