#include "learn/sum_lesson.h"

namespace rc {

SumLesson::SumLesson(const Controls&, Form1State&) {}

void SumLesson::NewSumLesson() {}
void SumLesson::DrawSumPies() {}
void SumLesson::HideFirstArrows() {}
void SumLesson::HideSecondArrows() {}

}  // namespace rc
