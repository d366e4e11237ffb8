#include "controls/widgets_common.h"

#include <cmath>

#include "controls/widgets.h"

namespace rc {

void setPaletteColour(QWidget* widget, QPalette::ColorRole role, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, role, toQColor(colour));
    palette.setColor(QPalette::Inactive, role, toQColor(colour));
    palette.setColor(QPalette::Disabled, role, toQColor(colour));
    widget->setPalette(palette);
}

void drawFocusMark(QWidget* widget, QPainter& painter, const QColor& colour) {
    if (!widget->hasFocus() || !widget->window()->testAttribute(Qt::WA_KeyboardFocusChange)) return;
    QPen pen(colour, 1, Qt::CustomDashLine);
    pen.setDashPattern({1, 1});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(3, 3, widget->width() - 7, widget->height() - 7));
}

QColor markOn(const QColor& face) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * linear(face.redF()) + 0.7152 * linear(face.greenF()) +
                             0.0722 * linear(face.blueF());
    return luminance > 0.179 ? Qt::black : Qt::white;
}

std::vector<QPointer<QWidget>>& heldClicks() {
    static std::vector<QPointer<QWidget>> held;
    return held;
}

bool isActivationKey(const QKeyEvent* event) {
    const int key = event->key();
    return !event->isAutoRepeat() &&
           (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
}

// A modal box runs its own event loop inside the click that opened it: the clicked button is
// repainted with the rest of the window under the box instead of after it closes.
void paintHeldClicks() {
    for (const QPointer<QWidget>& button : heldClicks())
        if (button) button->setUpdatesEnabled(true);
}

}  // namespace rc
