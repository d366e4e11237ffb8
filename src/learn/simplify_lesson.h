#pragma once

#include "sections/section_kit.h"

namespace rc {

// "Simplificar": a/b divided by a prime from 2 to 17, with the working and the result copied
// into the fraction panel, or a red message when the prime does not divide both terms.
class SimplifyLesson {
  public:
    explicit SimplifyLesson(const SectionKit& kit);

    void HideSimplifySteps();
    void ShowSimplifySteps();
    void Command9_Click(int index);   // ": 2" .. ": 17"
    void Command10_Click(int index);  // base numerator
    void Command11_Click(int index);  // base denominator

  private:
    void showBaseInPanel();

    Form1State& state_;
    PieRenderer& pies_;
    ControlArray<CommandButton>& Command9;
    ControlArray<CommandButton>& Command10;
    ControlArray<CommandButton>& Command11;
    ControlArray<Label>& Label2;
    ControlArray<Label>& Label3;
    ControlArray<Label>& Label6;
    ControlArray<Label>& Label7;
    ControlArray<Line>& Line1;
};

}  // namespace rc
