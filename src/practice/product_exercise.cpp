#include "practice/product_exercise.h"

namespace rc {

ProductExercise::ProductExercise(const SectionKit&) {}

void ProductExercise::NewProductExercise() {}

}  // namespace rc
