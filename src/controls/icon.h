#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

namespace rc {

// The program's icon: a circle cut into coloured sectors, 32 x 32 (and larger, for scaled
// screens), drawn rather than loaded.
QIcon programIcon();

// The icon drawn at one size, size x size pixels on a transparent ground.
QImage programIconImage(int size);

// The same drawing as a scalable SVG document.
QByteArray programIconSvg();

}  // namespace rc
