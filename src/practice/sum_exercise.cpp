#include "practice/sum_exercise.h"

namespace rc {

SumExercise::SumExercise(const SectionKit&) {}

void SumExercise::NewSumExercise() {}

}  // namespace rc
