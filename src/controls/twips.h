#pragma once

#include <QPoint>
#include <QRect>

namespace rc {

// Geometry is kept in twips (1/1440 inch) and shown in the screen's logical pixels:
// 1440 / logical dots per inch twips make one pixel (15 at 96 dpi).
namespace twips {

double perPixel();
void setLogicalDpi(double dpi);
int toPixels(double twips);
double fromPixels(double pixels);
QRect toPixelRect(double left, double top, double width, double height);

}  // namespace twips
}  // namespace rc
