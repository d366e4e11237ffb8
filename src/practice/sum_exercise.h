#pragma once

#include "sections/section_kit.h"

namespace rc {

// "SUMA Y RESTA": three random fractions, a plus sign and a plus or minus sign between them.
// The pupil picks the same multiple in the three lists of multiples under the fractions (it
// becomes the common denominator), sets the four numerators with counting buttons and checks
// them. Every right check is a line of the results history.
class SumExercise {
  public:
    explicit SumExercise(const SectionKit& kit);

    void NewSumExercise();
    void List1_Click(int index);      // an entry selected in the list of multiples `index`
    void Command14_Click(int index);  // a numerator: +1
    void Command15_Click(int index);  // its "+5"
    void Command16_Click(int index);  // its "-1"
    void Command17_Click();           // "COMPROBAR"

    static constexpr Colour Green = RGB(0, 255, 0);
    static constexpr Colour Red = RGB(255, 0, 0);

  private:
    void step(int index, double by);
    bool numeratorsSet() const;
    void fillMultiples(int list);
    // The factor that turns the denominator of fraction `list` into its list's selection.
    double factor(int list) const;

    Form1State& state_;
    RandomSource& random_;
    ResultsLog& results_;
    ControlArray<Label>& Label12;
    ControlArray<Label>& Label13;
    ControlArray<Label>& Label14;
    ControlArray<Line>& Line5;
    ControlArray<ListBox>& List1;
    ControlArray<CommandButton>& Command14;
    ControlArray<CommandButton>& Command15;
    ControlArray<CommandButton>& Command16;
    CommandButton& Command17;

    bool MultipleChosen = false;      // the three lists show the same multiple selected
    bool SecondOperatorPlus = false;  // the operator before the third fraction is "+"
};

}  // namespace rc
