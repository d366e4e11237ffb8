#pragma once

#include <QString>

namespace rc {

// What the pad's keys make of the number it shows, a whole number of any size as plain
// decimal text ("-47"): a digit appends (value · 10 + digit, so after "-5" a 3 gives "-47"),
// a step key adds its change.
QString appendDigit(const QString& number, int digit);
QString addToWhole(const QString& number, int change);

}  // namespace rc
