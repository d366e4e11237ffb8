#pragma once

#include <QColor>
#include <cstdint>

namespace rc {

// A colour as the sections write it: a 24-bit value R + 256 G + 65536 B (65280 is green,
// 16777215 white), or one of the platform's named system colours, which have the top bit set.
using Colour = std::uint32_t;

constexpr Colour RGB(int r, int g, int b) {
    return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}

// The sixteen classic console colours; 3 is the dark cyan of the main window.
Colour QBColor(int index);

namespace SystemColour {
constexpr Colour MenuBar = 0x80000004;
constexpr Colour WindowBackground = 0x80000005;
constexpr Colour WindowText = 0x80000008;
constexpr Colour Highlight = 0x8000000D;
constexpr Colour HighlightText = 0x8000000E;
constexpr Colour ButtonFace = 0x8000000F;
constexpr Colour ButtonText = 0x80000012;
}  // namespace SystemColour

constexpr bool isSystemColour(Colour c) {
    return (c & 0x80000000u) != 0;
}

// The colour as it shows on screen; system colours are taken from the application palette.
QColor toQColor(Colour c);
// The plain RGB value of what shows (system colours resolved).
Colour resolved(Colour c);
Colour fromQColor(const QColor& c);

}  // namespace rc
