#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace rc {

// The fields of the main window that several sections share; they live as long as the window.
struct Form1State {
    int CurrentSection = 7;                 // section shown, 0..8
    std::array<QString, 11> HelpTexts{};    // help text per section; slots 9 and 10 stay empty
    std::array<std::uint8_t, 21> Primes{};  // 2, 3, 5, ... 29 in slots 0..9, then zeros
    int MultiplierIndex = 0;                // chosen multiplier of the amplify lesson, minus 1
    double WholeUnits1 = 0;                 // whole circles of the last drawing of Picture1
    double WholeUnits2 = 0;                 // whole circles of the last drawing of Picture2
    int HadErrors = 0;                      // 0 or -1: a check of the current exercise failed
    int HistoryCount = 0;                   // position of the next results line, never reset
};

// The one global shared by the main window and the number pad.
struct Module1 {
    int EditedLabel = 0;  // the Label17 element the number pad writes into
};

}  // namespace rc
