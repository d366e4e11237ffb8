#include "controls/twips.h"

#include <cmath>

namespace rc::twips {

namespace {
double twipsPerPixel = 15.0;
}

double perPixel() {
    return twipsPerPixel;
}

void setLogicalDpi(double dpi) {
    if (dpi > 0) twipsPerPixel = 1440.0 / dpi;
}

int toPixels(double twips) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

double fromPixels(double pixels) {
    return pixels * twipsPerPixel;
}

QRect toPixelRect(double left, double top, double width, double height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

}  // namespace rc::twips
