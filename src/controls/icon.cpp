#include "controls/icon.h"

#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace rc {

namespace {
// The drawing in a square of side 1: a circle inset by Margin on every side, outlined PenWidth
// wide in black, cut into six sectors of 60 degrees counter-clockwise from three o'clock; the
// first four coloured from the 16-colour palette, the others white.
constexpr double Margin = 0.06;
constexpr double PenWidth = 1.0 / 32;
constexpr int SectorDegrees = 60;
const QColor Fills[6] = {Qt::blue, Qt::blue, Qt::blue, Qt::blue, Qt::white, Qt::white};
}  // namespace

QImage programIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, size > 32);
    painter.setPen(QPen(Qt::black, size * PenWidth));
    const QRectF box(size * Margin, size * Margin, size * (1 - 2 * Margin),
                     size * (1 - 2 * Margin));
    for (int i = 0; i < 6; ++i) {
        painter.setBrush(Fills[i]);
        painter.drawPie(box, i * SectorDegrees * 16, SectorDegrees * 16);
    }
    return image;
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 64, 128}) icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    return icon;
}

QByteArray programIconSvg() {
    // A side of 32 units, as at the icon's own size; the pen is one unit wide. Angles grow
    // counter-clockwise on the screen, so each arc is drawn with SVG's sweep flag 0.
    constexpr double Side = 32;
    constexpr double Centre = Side / 2;
    constexpr double Radius = Side * (0.5 - Margin);
    auto point = [](int degrees) {
        const double radians = degrees * std::numbers::pi / 180;
        return QByteArray::number(Centre + Radius * std::cos(radians), 'f', 3) + ' ' +
               QByteArray::number(Centre - Radius * std::sin(radians), 'f', 3);
    };
    QByteArray svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
        "viewBox=\"0 0 32 32\">\n"
        "  <g stroke=\"#000000\" stroke-width=\"" +
        QByteArray::number(Side * PenWidth) + "\" stroke-linejoin=\"bevel\">\n";
    for (int i = 0; i < 6; ++i) {
        const int from = i * SectorDegrees;
        svg += "    <path fill=\"" + Fills[i].name().toLatin1() + "\" d=\"M " +
               QByteArray::number(Centre) + ' ' + QByteArray::number(Centre) + " L " + point(from) +
               " A " + QByteArray::number(Radius, 'f', 3) + ' ' +
               QByteArray::number(Radius, 'f', 3) + " 0 0 0 " + point(from + SectorDegrees) +
               " Z\"/>\n";
    }
    return svg + "  </g>\n</svg>\n";
}

}  // namespace rc
