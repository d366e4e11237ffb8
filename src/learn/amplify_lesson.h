#pragma once

#include "sections/section_kit.h"

namespace rc {

// "Amplificar": a/b times m/m, with the working and the result, m chosen with "X 1" .. "X 10".
// Also the fraction panel (Frame3: Label2 drawn in Picture2) shared by the first three lessons.
class AmplifyLesson {
  public:
    explicit AmplifyLesson(const SectionKit& kit);

    // Recomputes the display from the base fraction and the multiplier and puts the result
    // into the fraction panel; every menu click runs it.
    void ShowAmplified();
    void Command4_Click(int index);  // panel numerator
    void Command5_Click(int index);  // panel denominator
    void Command6_Click(int index);  // multiplier
    void Command7_Click(int index);  // base numerator
    void Command8_Click(int index);  // base denominator

  private:
    Form1State& state_;
    PieRenderer& pies_;
    ControlArray<CommandButton>& Command4;
    ControlArray<CommandButton>& Command5;
    ControlArray<CommandButton>& Command6;
    ControlArray<CommandButton>& Command7;
    ControlArray<CommandButton>& Command8;
    ControlArray<Label>& Label2;
    ControlArray<Label>& Label3;
    ControlArray<Label>& Label4;
    ControlArray<Label>& Label5;
};

}  // namespace rc
