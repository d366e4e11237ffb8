#pragma once

#include "sections/section_kit.h"

namespace rc {

// "SIMPLIFICA": a chain of ever simpler equivalent fractions, checked link by link.
// Its start operation is empty until the exercise is built.
class SimplifyExercise {
  public:
    explicit SimplifyExercise(const SectionKit& kit);

    void NewSimplifyExercise();
};

}  // namespace rc
