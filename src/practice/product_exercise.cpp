#include "practice/product_exercise.h"

namespace rc {

ProductExercise::ProductExercise(const Controls&, Form1State&) {}

void ProductExercise::NewProductExercise() {}

}  // namespace rc
