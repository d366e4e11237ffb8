#pragma once

#include "sections/section_kit.h"

namespace rc {

// "Suma y resta": two random fractions brought to a common denominator and added or
// subtracted. Its start operations are empty until the lesson is built.
class SumLesson {
  public:
    explicit SumLesson(const SectionKit& kit);

    void NewSumLesson();
    void DrawSumPies();
    void HideFirstArrows();
    void HideSecondArrows();
};

}  // namespace rc
