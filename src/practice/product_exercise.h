#pragma once

#include "sections/section_kit.h"

namespace rc {

// "MULTIPLICACIÓN Y DIVISIÓN": two random fractions; the pupil chooses the operation, builds
// the result's terms with counting buttons and checks them. Every right check is a line of
// the results history; nothing is ever locked.
class ProductExercise {
  public:
    explicit ProductExercise(const SectionKit& kit);

    void NewProductExercise();
    void Option1_Click(int index);    // 0 multiplication, 1 division
    void Command18_Click(int index);  // the result's terms and their "+5" / "-1"
    void Command19_Click();           // "COMPROBAR"

    static constexpr Colour Green = RGB(0, 255, 0);
    static constexpr Colour Red = RGB(255, 0, 0);

  private:
    // The cross (multiplication) or the two dots (division) between the fractions.
    void showOperator(bool division);
    void clearVerdict();

    Form1State& state_;
    RandomSource& random_;
    ResultsLog& results_;
    ControlArray<Label>& Label15;
    ControlArray<Label>& Label16;
    ControlArray<Line>& Line6;
    ControlArray<CommandButton>& Command18;
    ControlArray<OptionButton>& Option1;
    CommandButton& Command19;
};

}  // namespace rc
