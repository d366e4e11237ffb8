#include "practice/simplify_exercise.h"

namespace rc {

SimplifyExercise::SimplifyExercise(const SectionKit&) {}

void SimplifyExercise::NewSimplifyExercise() {}

}  // namespace rc
