#pragma once

#include "controls/catalogue.h"
#include "shell/form1_state.h"

namespace rc {

// "SIMPLIFICA": a chain of ever simpler equivalent fractions, checked link by link.
// Its start operation is empty until the exercise is built.
class SimplifyExercise {
public:
    SimplifyExercise(const Controls& controls, Form1State& state);

    void NewSimplifyExercise();
};

}  // namespace rc
