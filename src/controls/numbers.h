#pragma once

#include <QString>

namespace rc {

// The caption-to-number rule: the value of the leading decimal number of the text (optional
// sign, digits, decimal point, exponent), leading blanks skipped; 0 when there is none, so "?"
// and "" read as 0. Values beyond the range of a double read as the largest finite value.
double Val(const QString& text);

// The number-to-text rule: plain shortest decimal text, no leading blank, no decimal point for
// whole numbers, a leading "-" for negatives. Whole numbers are written digit by digit as long
// as a double holds them exactly (below 2^53); larger ones, and fractions, with at most 15
// significant digits, larger ones in exponent form ("1E+16"), which Val reads back.
QString Str(double value);

// Round half to even, as the platform's whole-number conversions do.
double roundHalfEven(double value);

// "Halved": rounded to a whole number (ties to even), then divided by 2 toward zero.
long long halved(double value);

}  // namespace rc
