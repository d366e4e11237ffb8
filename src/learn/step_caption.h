#pragma once

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

}  // namespace rc
