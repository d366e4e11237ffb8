#include "practice/sum_exercise.h"

namespace rc {

SumExercise::SumExercise(const Controls&, Form1State&) {}

void SumExercise::NewSumExercise() {}

}  // namespace rc
