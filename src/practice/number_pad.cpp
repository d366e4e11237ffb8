#include "practice/number_pad.h"

#include <QPainter>

#include "shell/catalogue.h"
#include "shell/icon.h"

namespace rc {

Form2::Form2()
    : Form(QStringLiteral("Form2"), form2Catalogue(),
           Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setBackColor(RGB(255, 255, 192));
    setClientSize(Form2ClientWidth, Form2ClientHeight);
    setWindowIcon(programIcon());
    setAccessibleName(QStringLiteral("Teclado de números"));
}

void Form2::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace rc
