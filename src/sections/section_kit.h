#pragma once

#include <QString>

#include "controls/catalogue.h"
#include "controls/platform.h"
#include "pictures/pie_renderer.h"
#include "sections/section_state.h"

namespace rc {

// Where the exercises leave their judged lines: the results history.
class ResultsLog {
  public:
    virtual ~ResultsLog() = default;
    // Writes `line` at position HistoryCount of the results list, loading the results window
    // (hidden) if it is not loaded, then counts it.
    virtual void writeLine(const QString& line) = 0;
};

// The number pad, as the exercise numbers open it.
class NumberEntry {
  public:
    virtual ~NumberEntry() = default;
    // Shows the pad (loading it on first use), resets its display to "0" and makes it write
    // into Label17(label) of the main window.
    virtual void openFor(int label) = 0;
    // Puts the pad away and forgets the number it wrote into: its keys write nowhere until the
    // pupil clicks a number again.
    virtual void putAway() = 0;
};

// Everything a section of the main window may use, handed to it when it is built: the
// window's controls, the state the sections share, the outside world (random numbers, message
// boxes), the pictures, the results history and the number pad.
struct SectionKit {
    const Controls& controls;
    Form1State& state;
    Module1& module1;
    RandomSource& random;
    MessageBoxes& messages;
    PieRenderer& pies;
    ResultsLog& results;
    NumberEntry& numberPad;
};

}  // namespace rc
