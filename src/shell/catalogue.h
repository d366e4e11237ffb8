#pragma once

#include <span>

#include "controls/catalogue.h"

namespace rc {

// The make-up of the three windows: every control, its container, caption, font, colours and
// design geometry in twips.
std::span<const Row> form1Catalogue();
std::span<const Row> form2Catalogue();
std::span<const Row> form3Catalogue();

// The design stacking order of the controls that lie directly on the main window, front first.
std::span<const char* const> form1DesignStacking();

// Design client areas, twips.
inline constexpr double Form1ClientWidth = 11880, Form1ClientHeight = 7005;
inline constexpr double Form2ClientWidth = 4590, Form2ClientHeight = 4020;
inline constexpr double Form3ClientWidth = 9720, Form3ClientHeight = 5940;

}  // namespace rc
