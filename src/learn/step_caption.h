#pragma once

#include <limits>

#include "controls/numbers.h"
#include "controls/widgets.h"

namespace rc {

// The "+" (index 0) and "--" (index 1) of a number label: "+" adds one while the number is
// below `upTo`, "--" takes one away while it is above `downTo`; otherwise the press is refused.
// Returns whether the caption changed.
inline bool stepCaption(Label& label, int index, double downTo, double upTo) {
    const double value = Val(label.Caption());
    const bool allowed = index == 0 ? value < upTo : value > downTo;
    if (allowed) label.setCaption(Str(index == 0 ? value + 1 : value - 1));
    return allowed;
}

// A fraction drawn under its buttons may not grow once its last drawing had this many whole
// circles.
inline constexpr double MostWholeCircles = 16;

// The numerator's "+" / "--" of a drawn fraction: "+" while the last drawing had fewer than
// 16 whole circles, "--" down to 0. Returns whether the caption changed.
inline bool stepDrawnNumerator(Label& numerator, int index, double wholeUnits) {
    const double unlimited = std::numeric_limits<double>::infinity();
    return stepCaption(numerator, index, 0, wholeUnits < MostWholeCircles ? unlimited : -unlimited);
}

// The denominator's "+" / "-" of a drawn fraction, between 2 and 150. A smaller denominator
// makes more circles, so "-" follows the same 16-circle rule as the numerator's "+".
inline bool stepDrawnDenominator(Label& denominator, int index, double wholeUnits) {
    const double unlimited = std::numeric_limits<double>::infinity();
    return stepCaption(denominator, index, wholeUnits < MostWholeCircles ? 2 : unlimited, 150);
}

}  // namespace rc
