#include "learn/sum_lesson.h"

namespace rc {

SumLesson::SumLesson(const SectionKit&) {}

void SumLesson::NewSumLesson() {}
void SumLesson::DrawSumPies() {}
void SumLesson::HideFirstArrows() {}
void SumLesson::HideSecondArrows() {}

}  // namespace rc
