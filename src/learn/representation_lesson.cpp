#include "learn/representation_lesson.h"

#include "controls/numbers.h"
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

// The numerator's "+" and "--". "+" stops once the last drawing had 16 whole circles; the
// picture is drawn again after every press, also a refused one.
void RepresentationLesson::Command2_Click(int index) {
    const double numerator = Val(Label1(0).Caption());
    if (index == 0) {
        if (state_.WholeUnits1 < 16) Label1(0).setCaption(Str(numerator + 1));
    } else {
        if (numerator >= 1) Label1(0).setCaption(Str(numerator - 1));
    }
    pies_.DrawPies1();
}

// The denominator's "+" and "-", between 2 and 150. A smaller denominator makes more circles,
// so "-" follows the same 16-circle rule as the numerator's "+".
void RepresentationLesson::Command3_Click(int index) {
    const double denominator = Val(Label1(1).Caption());
    if (index == 0) {
        if (denominator < 150) Label1(1).setCaption(Str(denominator + 1));
    } else {
        if (state_.WholeUnits1 < 16 && denominator >= 3) Label1(1).setCaption(Str(denominator - 1));
    }
    pies_.DrawPies1();
}

// A left click on a sector swaps its colour by filling it, and the numerator follows; a click
// on the background or an outline, or with another button, changes nothing. The picture is
// not redrawn, so WholeUnits1 keeps the count of the last drawing.
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
    }
}

}  // namespace rc
