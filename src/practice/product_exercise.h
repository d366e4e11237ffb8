#pragma once

#include "sections/section_kit.h"

namespace rc {

// "MULTIPLICACIÓN Y DIVISIÓN": the product or the quotient of two fractions.
// Its start operation is empty until the exercise is built.
class ProductExercise {
  public:
    explicit ProductExercise(const SectionKit& kit);

    void NewProductExercise();
};

}  // namespace rc
