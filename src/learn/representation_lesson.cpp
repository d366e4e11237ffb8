#include "learn/representation_lesson.h"

#include "controls/numbers.h"
#include "learn/step_caption.h"

namespace rc {

RepresentationLesson::RepresentationLesson(const SectionKit& kit)
    : state_(kit.state),
      pies_(kit.pies),
      Command2(kit.controls.array<CommandButton>("Command2")),
      Command3(kit.controls.array<CommandButton>("Command3")),
      Label1(kit.controls.array<Label>("Label1")),
      Picture1(kit.controls.single<PictureBox>("Picture1")) {
    Command2.onClick([this](int index) { Command2_Click(index); });
    Command3.onClick([this](int index) { Command3_Click(index); });
    Picture1.onMouseDown([this](int button, int shift, double x, double y) {
        Picture1_Mousedown(button, shift, x, y);
    });
}

// The numerator's "+" and "--" and the denominator's "+" and "-", within the 16-circle rule;
// the picture is drawn again after every press, also a refused one.
void RepresentationLesson::Command2_Click(int index) {
    stepDrawnNumerator(Label1(0), index, state_.WholeUnits1);
    pies_.DrawPies1();
}

void RepresentationLesson::Command3_Click(int index) {
    stepDrawnDenominator(Label1(1), index, state_.WholeUnits1);
    pies_.DrawPies1();
}

// A left click on a sector swaps its colour by filling it, and the numerator follows, and so
// does the picture's description; a click on the background or an outline, or with another
// button, changes nothing. The picture is not redrawn, so WholeUnits1 keeps the count of the
// last drawing.
void RepresentationLesson::Picture1_Mousedown(int button, int, double x, double y) {
    if (button != 1) return;
    const int px = int(roundHalfEven(x)), py = int(roundHalfEven(y));
    const Colour colour = Picture1.Point(px, py);
    const double numerator = Val(Label1(0).Caption());
    if (colour == PieRenderer::Blue) {
        Picture1.setFillColor(PieRenderer::White);
        Picture1.ExtFloodFill(px, py, colour);
        Label1(0).setCaption(Str(numerator - 1));
    } else if (colour == PieRenderer::White) {
        Picture1.setFillColor(PieRenderer::Blue);
        Picture1.ExtFloodFill(px, py, colour);
        Label1(0).setCaption(Str(numerator + 1));
    } else {
        return;
    }
    pies_.DescribePies1();
}

}  // namespace rc
