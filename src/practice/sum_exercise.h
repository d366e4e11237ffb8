#pragma once

#include "controls/catalogue.h"
#include "shell/form1_state.h"

namespace rc {

// "SUMA Y RESTA": three fractions added or subtracted through lists of multiples.
// Its start operation is empty until the exercise is built.
class SumExercise {
public:
    SumExercise(const Controls& controls, Form1State& state);

    void NewSumExercise();
};

}  // namespace rc
