#include <vector>

#include "practice/number_pad.h"

namespace rc {

namespace {
constexpr FontStyle Arial18Bold{"Arial", 18, true};
}

// The number pad. Its digit keys read "1" until the pad loads and numbers them.
std::span<const Row> form2Catalogue() {
    static const std::vector<Row> table = {
        {.name = "Command3",
         .kind = Kind::CommandButton,
         .container = "Form2",
         .caption = "BORRAR",
         .font = {"Arial", 15.75, true},
         .back = RGB(255, 128, 128),
         .graphical = true,
         .elements = {{NoIndex, nullptr, {2880, 3240, 1575, 615}}}},
        {.name = "Command2",
         .kind = Kind::CommandButton,
         .container = "Form2",
         .font = Arial18Bold,
         .back = RGB(255, 192, 255),
         .graphical = true,
         .elements = {{0, "+1", {2880, 1080, 735, 615}, {.name = "Sumar uno"}},
                      {1, "-1", {3720, 1080, 735, 615}, {.name = "Restar uno"}},
                      {2, "+5", {2880, 1800, 735, 615}, {.name = "Sumar cinco"}},
                      {3, "-5", {3720, 1800, 735, 615}, {.name = "Restar cinco"}},
                      {4, "+10", {2880, 2520, 735, 615}, {.name = "Sumar diez"}},
                      {5, "-10", {3720, 2520, 735, 615}, {.name = "Restar diez"}}}},
        {.name = "Command1",
         .kind = Kind::CommandButton,
         .container = "Form2",
         .caption = "1",
         .font = {"Arial", 24, true},
         .back = RGB(192, 255, 192),
         .graphical = true,
         .elements = {{0, nullptr, {960, 3240, 735, 555}},
                      {1, nullptr, {120, 1080, 735, 615}},
                      {2, nullptr, {960, 1080, 735, 615}},
                      {3, nullptr, {1800, 1080, 735, 615}},
                      {4, nullptr, {120, 1800, 735, 615}},
                      {5, nullptr, {960, 1800, 735, 615}},
                      {6, nullptr, {1800, 1800, 735, 615}},
                      {7, nullptr, {120, 2520, 735, 615}},
                      {8, nullptr, {960, 2520, 735, 615}},
                      {9, nullptr, {1800, 2520, 735, 615}}}},
        {.name = "Label1",
         .kind = Kind::Label,
         .container = "Form2",
         .caption = "1",
         .font = {"Arial", 36, true},
         .fore = SystemColour::Highlight,
         .alignment = Alignment::Right,
         .accessibleDescription = "Número escrito",
         .elements = {{NoIndex, nullptr, {2040, 120, 2175, 735}}}},
        {.name = "Shape1",
         .kind = Kind::Shape,
         .container = "Form2",
         .borderWidth = 2,
         .elements = {{NoIndex, nullptr, {1800, 120, 2655, 855}}}},
    };
    return table;
}

}  // namespace rc
