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
        // Worked out in device pixels, so that on a scaled display the sunken 3D border fills
        // its whole width (a line of one logical pixel would leave device pixels unpainted) and
        // the image sits exactly inside it, one image pixel per device pixel.
        const double ratio = devicePixelRatioF();
        const int edge = int(border * ratio);              // the border's width
        const int outer = edge / 2, inner = edge - outer;  // its outer and its inner band
        const int w = int(std::ceil(width() * ratio)), h = int(std::ceil(height() * ratio));
        auto fill = [&](int x, int y, int cw, int ch, const QColor& colour) {
            painter.fillRect(QRectF(x / ratio, y / ratio, cw / ratio, ch / ratio), colour);
        };
        const QColor grey(128, 128, 128), dark(64, 64, 64), light(212, 208, 200);
        fill(0, 0, w, outer, grey);
        fill(0, 0, outer, h, grey);
        fill(0, h - outer, w, outer, Qt::white);
        fill(w - outer, 0, outer, h, Qt::white);
        fill(outer, outer, w - 2 * outer, inner, dark);
        fill(outer, outer, inner, h - 2 * outer, dark);
        fill(outer, h - edge, w - 2 * outer, inner, light);
        fill(w - edge, outer, inner, h - 2 * outer, light);
        const QImage& image = owner_->surface_.image();
        // The background shows only where the image does not reach (it covers the drawable
        // area but while the picture is being resized, or at a scale that rounds it short).
        if (image.width() < w - 2 * edge || image.height() < h - 2 * edge)
            fill(edge, edge, w - 2 * edge, h - 2 * edge, toQColor(owner_->back_));
        if (!image.isNull()) {
            // Placed in device pixels, so that the image is copied as it stands, neither
            // scaled nor copied first to carry the screen's scale.
            painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
            painter.drawImage(QPoint(edge, edge), image);
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

void PictureBox::keep(const QString& what) {
    kept_ = what;
    keptAt_ = surface_.generation();
}

bool PictureBox::holds(const QString& what) const {
    return !kept_.isEmpty() && keptAt_ == surface_.generation() && kept_ == what;
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
