#include "controls/picturebox.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "controls/twips.h"

namespace rc {

class PictureBox::Widget : public QWidget {
  public:
    Widget(QWidget* parent, PictureBox* owner) : QWidget(parent), owner_(owner) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // Sunken 3D border, then the image at one image pixel per device pixel.
        const QRect r = rect();
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(Qt::white);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        const QRect inner = r.adjusted(1, 1, -1, -1);
        painter.setPen(QColor(64, 64, 64));
        painter.drawLine(inner.topLeft(), inner.topRight());
        painter.drawLine(inner.topLeft(), inner.bottomLeft());
        painter.setPen(QColor(212, 208, 200));
        painter.drawLine(inner.bottomLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomRight());
        const QRect area = r.adjusted(border, border, -border, -border);
        painter.fillRect(area, toQColor(owner_->back_));
        QImage image = owner_->surface_.image();
        if (!image.isNull()) {
            image.setDevicePixelRatio(devicePixelRatioF());
            painter.drawImage(area.topLeft(), image);
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        // The pixel under the pointer, counted in device pixels of the drawable area.
        const double ratio = devicePixelRatioF();
        const QPointF p = (event->position() - QPointF(border, border)) * ratio;
        owner_->mouseDownAt(mouseButtonCode(event->button()), shiftKeyCode(event->modifiers()),
                            std::floor(p.x()), std::floor(p.y()));
    }

  private:
    PictureBox* owner_;
};

PictureBox::PictureBox(QWidget* parent)
    : Control(new Widget(parent, this)), picture_(static_cast<Widget*>(widget())) {}

void PictureBox::setBackColor(Colour colour) {
    back_ = colour;
    picture_->update();
}

void PictureBox::setForeColor(Colour colour) {
    fore_ = colour;
}

void PictureBox::Cls() {
    surface_.clear(back_);
    refresh();
}

void PictureBox::ExtFloodFill(int x, int y, Colour surfaceColour) {
    surface_.floodFillSurface(x, y, surfaceColour, fillColour_);
    refresh();
}

void PictureBox::refresh() {
    picture_->update();
}

void PictureBox::onMouseDown(MouseDownHandler handler) {
    mouseDown_ = std::move(handler);
}

void PictureBox::mouseDownAt(int button, int shift, double x, double y) {
    if (mouseDown_) mouseDown_(button, shift, x, y);
}

void PictureBox::applyGeometry() {
    Control::applyGeometry();
    // The persistent image follows the size of the drawable area, in device pixels.
    const double ratio = picture_->devicePixelRatioF();
    const QSize logical = picture_->size() - QSize(2 * border, 2 * border);
    const int w = std::max(0, int(std::lround(logical.width() * ratio)));
    const int h = std::max(0, int(std::lround(logical.height() * ratio)));
    if (w != surface_.width() || h != surface_.height()) surface_.resize(w, h, back_);
}

}  // namespace rc
