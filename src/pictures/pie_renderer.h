#pragma once

#include "controls/catalogue.h"
#include "shell/form1_state.h"

namespace rc {

// Draws the fraction held by a numerator and a denominator label as a row of circles, one per
// unit, each cut into as many sectors as the denominator, the numerator's sectors blue.
class PieRenderer {
public:
    PieRenderer(const Controls& controls, Form1State& state);

    void DrawPies1();  // Picture1 from Label1(0) / Label1(1), counting into WholeUnits1
    void DrawPies2();  // Picture2 from Label2(0) / Label2(1), counting into WholeUnits2

    static void DrawPies(PictureBox& picture, const Label& numerator, const Label& denominator,
                         double& wholeUnits);

    static constexpr Colour Blue = RGB(0, 0, 255);
    static constexpr Colour White = RGB(255, 255, 255);
    static constexpr Colour Background = RGB(250, 250, 250);

private:
    Form1State& state_;
    PictureBox& Picture1;
    PictureBox& Picture2;
    ControlArray<Label>& Label1;
    ControlArray<Label>& Label2;
};

}  // namespace rc
