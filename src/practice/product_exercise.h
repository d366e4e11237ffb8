#pragma once

#include "controls/catalogue.h"
#include "shell/form1_state.h"

namespace rc {

// "MULTIPLICACIÓN Y DIVISIÓN": the product or the quotient of two fractions.
// Its start operation is empty until the exercise is built.
class ProductExercise {
public:
    ProductExercise(const Controls& controls, Form1State& state);

    void NewProductExercise();
};

}  // namespace rc
