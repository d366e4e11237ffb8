#pragma once

#include <QIcon>

namespace rc {

// The program's icon: a circle cut into coloured sectors, 32 x 32 (and larger, for scaled
// screens), drawn rather than loaded.
QIcon programIcon();

}  // namespace rc
