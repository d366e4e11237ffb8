#include "practice/simplify_exercise.h"

namespace rc {

SimplifyExercise::SimplifyExercise(const Controls&, Form1State&) {}

void SimplifyExercise::NewSimplifyExercise() {}

}  // namespace rc
