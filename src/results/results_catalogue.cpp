#include <vector>

#include "results/results_history.h"

namespace rc {

std::span<const Row> form3Catalogue() {
    static const std::vector<Row> table = {
        {.name = "List1",
         .kind = Kind::ListBox,
         .container = "Form3",
         .font = {"MS Sans Serif", 13.5, false},
         .fore = SystemColour::WindowBackground,
         .back = RGB(0, 128, 128),
         .accessibleName = "Historial de ejercicios",
         .elements = {{NoIndex, nullptr, {240, 240, 9255, 5460}}}},
    };
    return table;
}

}  // namespace rc
