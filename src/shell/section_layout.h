#pragma once

#include "controls/form.h"
#include "controls/platform.h"

namespace rc {

// Fits the design-time window to the screen once, at start-up: one common rectangle for the
// nine section frames right of the menu, the inner frames in it, the pictures and fraction
// editors of the lessons, the window's colours and what the first screen hides.
class SectionLayout {
  public:
    SectionLayout(Form& form, const ScreenMetrics& screen);

    void ArrangeSections();

    static constexpr Colour MenuWhite = 16777215;

  private:
    Form& form_;
    ScreenMetrics screen_;
};

}  // namespace rc
