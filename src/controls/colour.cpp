#include "controls/colour.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace rc {

Colour QBColor(int index) {
    static constexpr std::array<Colour, 16> table = {
        RGB(0, 0, 0),       RGB(0, 0, 128),   RGB(0, 128, 0),   RGB(0, 128, 128),
        RGB(128, 0, 0),     RGB(128, 0, 128), RGB(128, 128, 0), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
        RGB(255, 0, 0),     RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255)};
    return table.at(static_cast<std::size_t>(index & 15));
}

namespace {
// The default scheme of the platform the program was designed on; the application palette
// supplies the button face and text so that the standard controls match the desktop.
QColor systemColour(Colour c) {
    switch (c) {
        case SystemColour::MenuBar:
            return QColor(212, 208, 200);
        case SystemColour::WindowBackground:
            return Qt::white;
        case SystemColour::WindowText:
            return Qt::black;
        case SystemColour::Highlight:
            return QColor(10, 36, 106);
        case SystemColour::HighlightText:
            return Qt::white;
        case SystemColour::ButtonFace:
            return QGuiApplication::palette().color(QPalette::Button);
        case SystemColour::ButtonText:
            return QGuiApplication::palette().color(QPalette::ButtonText);
        default:
            return Qt::black;
    }
}
}  // namespace

QColor toQColor(Colour c) {
    if (isSystemColour(c)) return systemColour(c);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

Colour resolved(Colour c) {
    return fromQColor(toQColor(c));
}

Colour fromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

}  // namespace rc
