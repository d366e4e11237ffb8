#pragma once

#include "sections/section_kit.h"

namespace rc {

// "Suma y resta": two random fractions A and B, joined by a plus or a minus sign, and beside
// them A′ and B′, which the pupil amplifies step by step (each click on a denominator adds
// the terms of A or B once more) until their denominators meet. Then the result shows; the
// pupil sets its numerator and denominator, each judged blue or red, and "Muy bien" says when
// both are right. Picture2 shows A′ and B′ as two circles whose filled sectors turn blue
// together when the denominators are the same.
class SumLesson {
  public:
    explicit SumLesson(const SectionKit& kit);

    void NewSumLesson();
    void DrawSumPies();
    void HideFirstArrows();
    void ShowFirstArrows();
    void HideSecondArrows();
    void ShowSecondArrows();
    void ShowSumResult();
    void HideSumResult();
    void Command12_Click(int index);  // A′ and B′ denominators, the result and its counters
    void Command13_Click(int index);  // one step back for A′ (0) or B′ (1)

    static constexpr Colour Teal = RGB(0, 192, 192);
    static constexpr Colour Magenta = RGB(192, 0, 192);
    static constexpr Colour Green = RGB(0, 255, 0);
    static constexpr Colour Blue = RGB(0, 0, 255);
    static constexpr Colour Red = RGB(255, 0, 0);
    static constexpr Colour White = RGB(255, 255, 255);

  private:
    // Shows the result when the two texts are the same denominator, hides it otherwise.
    void checkSameDenominators(const QString& a, const QString& b);
    void resetResult();
    void showArrows(int fraction, bool shown);
    void judgeNumerator();
    void judgeDenominator();
    // A′ (0) or B′ (1) amplified by `times` more (or fewer) of the terms of A or B.
    void amplify(int fraction, double times);

    RandomSource& random_;
    MessageBoxes& messages_;
    ControlArray<Label>& Label8;
    ControlArray<Label>& Label9;
    ControlArray<Label>& Label10;
    ControlArray<Label>& Label11;
    ControlArray<CommandButton>& Command12;
    ControlArray<CommandButton>& Command13;
    ControlArray<Line>& Line1;
    ControlArray<Line>& Line3;
    ControlArray<Line>& Line4;
    PictureBox& Picture2;
    int SameDenominators = 0;  // 0 or -1: A′ and B′ have the same denominator (as text)
};

}  // namespace rc
