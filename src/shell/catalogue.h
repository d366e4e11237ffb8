#pragma once

#include <span>

#include "controls/catalogue.h"

namespace rc {

// The make-up of the main window: every control, its container, caption, font, colours and
// design geometry in twips. The number pad's and the results window's lie beside them.
std::span<const Row> form1Catalogue();

// The design stacking order of the controls that lie directly on the main window, front first.
std::span<const char* const> form1DesignStacking();

// The fractions the pupil writes in the main window, each read numerator first: the simplify
// exercise's six and the add/subtract lesson's result.
std::span<const Block> form1Fractions();

// Design client areas, twips.
inline constexpr double Form1ClientWidth = 11880, Form1ClientHeight = 7005;

}  // namespace rc
