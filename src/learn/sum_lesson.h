#pragma once

#include "controls/catalogue.h"
#include "shell/form1_state.h"

namespace rc {

// "Suma y resta": two random fractions brought to a common denominator and added or
// subtracted. Its start operations are empty until the lesson is built.
class SumLesson {
  public:
    SumLesson(const Controls& controls, Form1State& state);

    void NewSumLesson();
    void DrawSumPies();
    void HideFirstArrows();
    void HideSecondArrows();
};

}  // namespace rc
