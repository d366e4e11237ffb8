#pragma once

#include "controls/catalogue.h"

namespace rc {

// Draws the fraction held by a numerator and a denominator label as a row of circles, one per
// unit, each cut into as many sectors as the denominator, the numerator's sectors blue; and
// says in the picture's description what it shows: "3 de 4 partes coloreadas, en 1 círculo".
class PieRenderer {
  public:
    // The counts of whole circles of the last drawing of each picture live with the window.
    PieRenderer(const Controls& controls, double& wholeUnits1, double& wholeUnits2);

    void DrawPies1();  // Picture1 from Label1(0) / Label1(1), counting into WholeUnits1
    void DrawPies2();  // Picture2 from Label2(0) / Label2(1), counting into WholeUnits2
    // Says again what Picture1 shows once a click on a sector has changed its numerator: that
    // numerator, in the circles of the last drawing.
    void DescribePies1();

    // "3 de 4 partes coloreadas", "1 de 4 partes coloreada", "0 de 1 parte coloreada".
    static QString colouredParts(double numerator, double denominator);

    // Literal: clear to the picture's colour, draw every circle, flood the white around the
    // circles near-white from (1, 1). Fast gives the very same pixels with less work: when the
    // picture is white and its outlines are not, every pixel outside the circles is reached by
    // that flood, so it clears straight to the near-white; and it copies the first whole circle
    // to the places of the others.
    enum class Method { Fast, Literal };

    // Answers how many circles the fraction takes (0 when it has no picture).
    static double DrawPies(PictureBox& picture, const Label& numerator, const Label& denominator,
                           double& wholeUnits, Method method = Method::Fast);

    static constexpr Colour Blue = RGB(0, 0, 255);
    static constexpr Colour White = RGB(255, 255, 255);
    static constexpr Colour Background = RGB(250, 250, 250);

  private:
    // The words for `circles` circles (too small to draw unless `fit`) showing the fraction.
    static QString describe(double numerator, double denominator, double circles, bool fit);

    double circles1_ = 0;  // of the last drawing of Picture1
    double& WholeUnits1;
    double& WholeUnits2;
    PictureBox& Picture1;
    PictureBox& Picture2;
    ControlArray<Label>& Label1;
    ControlArray<Label>& Label2;
};

}  // namespace rc
