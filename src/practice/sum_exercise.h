#pragma once

#include "sections/section_kit.h"

namespace rc {

// "SUMA Y RESTA": three fractions added or subtracted through lists of multiples.
// Its start operation is empty until the exercise is built.
class SumExercise {
  public:
    explicit SumExercise(const SectionKit& kit);

    void NewSumExercise();
};

}  // namespace rc
