#pragma once

#include "sections/section_kit.h"

namespace rc {

// "SIMPLIFICA": a fraction F0 whose terms share small primes; the pupil writes ever simpler
// equivalent fractions F1..F5 to its right with the number pad and checks each link with its
// own "COMPROBAR". The chain ends with a fraction that cannot be simplified any further, or a
// whole number, and leaves one line in the results history.
class SimplifyExercise {
  public:
    explicit SimplifyExercise(const SectionKit& kit);

    void NewSimplifyExercise();
    // Every menu click leaves the exercise or deals a new one: the pad forgets its number.
    void PutPadAway() { numberPad_.putAway(); }
    void Label17_Click(int index);
    void Command21_Click(int index);

    static constexpr Colour White = RGB(255, 255, 255);
    static constexpr Colour Blue = RGB(0, 0, 255);
    static constexpr Colour Red = RGB(255, 0, 0);

  private:
    // 2^(1..4) · 3^j · 5^l · 7^m · 11^n between 4 and 1000, j below `threes`.
    double drawTerm(int threes);
    // The given fraction is checked with the first link: locked when it can be simplified,
    // red with a message when it cannot.
    void checkGivenFraction();
    void accept(int label);
    // Shows the next link after an accepted intermediate one at button k.
    void openNextLink(int k);
    void writeHistoryLine(int k, bool wholeNumber);

    Form1State& state_;
    RandomSource& random_;
    MessageBoxes& messages_;
    ResultsLog& results_;
    NumberEntry& numberPad_;
    ControlArray<Label>& Label17;
    ControlArray<Line>& Line7;
    ControlArray<CommandButton>& Command21;
};

}  // namespace rc
