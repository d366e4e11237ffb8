#pragma once

#include <QString>
#include <array>

namespace rc {

// The help text of each section, by section index 0..8.
const std::array<QString, 9>& helpTextTable();

// The simplify lesson's message, set once at start-up.
QString notDivisibleMessage();

}  // namespace rc
