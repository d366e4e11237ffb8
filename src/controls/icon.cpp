#include "controls/icon.h"

#include <QPainter>
#include <QPixmap>

namespace rc {

namespace {
QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, size > 32);
    painter.setPen(QPen(Qt::black, size / 32.0));
    // Six sectors, the first four coloured from the 16-colour palette, the others white.
    const QColor fills[6] = {Qt::blue, Qt::blue, Qt::blue, Qt::blue, Qt::white, Qt::white};
    const QRectF box(size * 0.06, size * 0.06, size * 0.88, size * 0.88);
    for (int i = 0; i < 6; ++i) {
        painter.setBrush(fills[i]);
        painter.drawPie(box, i * 60 * 16, 60 * 16);
    }
    return pixmap;
}
}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 64, 128}) icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace rc
