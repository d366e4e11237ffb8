#include <QAccessibleWidget>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <array>

#include "controls/twips.h"
#include "controls/widgets.h"
#include "controls/widgets_common.h"

namespace rc {

// Frame

// The sunken box border: a dark rectangle with a light one inside it, offset by one pixel,
// drawn as eight strips where this paint needs them. A frame holds many controls, so the area
// it paints is full of holes, and Qt's line drawing clips every pixel of its border against
// them; filling a few thin rectangles is the same picture at a fraction of the cost.
namespace {
class FrameWidget : public QFrame {
  public:
    FrameWidget(QWidget* parent, const Frame* owner) : QFrame(parent), owner_(owner) {
        setFrameStyle(QFrame::Box | QFrame::Sunken);
    }
    // A hidden frame that shares its place stays on screen and paints nothing.
    bool paintsNothing() const { return sharesPlace() && !owner_->Visible(); }
    bool sharesPlace() const { return owner_ && owner_->SharesPlace(); }
    // The window destroys its controls before their widgets.
    void forgetOwner() { owner_ = nullptr; }

    // What showing or hiding this frame changes on screen, besides the controls it holds: its
    // border, the controls under it that it hides, and its background where that differs from
    // its container's.
    QRegion changedByShowing() const {
        QWidget* container = parentWidget();
        if (!container ||
            palette().color(QPalette::Window) != container->palette().color(QPalette::Window))
            return rect();
        QRegion changed;
        for (const auto& [strip, colour] : strips()) changed += strip;
        for (QObject* sibling : container->children()) {
            if (sibling == this) break;  // the rest stand in front of this frame
            auto* below = qobject_cast<QWidget*>(sibling);
            const auto* frame = dynamic_cast<FrameWidget*>(sibling);
            if (below && !below->isHidden() && !below->isWindow() &&
                !(frame && frame->paintsNothing()))
                changed += below->geometry().intersected(geometry()).translated(-pos());
        }
        return changed;
    }

  protected:
    // Shown, a frame that shares its place paints its background itself, as every other
    // frame has it painted for it.
    void paintEvent(QPaintEvent* event) override {
        if (paintsNothing()) return;
        QPainter painter(this);
        if (sharesPlace())
            for (const QRect& box : event->region())
                painter.fillRect(box, palette().color(QPalette::Window));
        for (const auto& [strip, colour] : strips())
            if (event->region().intersects(strip)) painter.fillRect(strip, colour);
    }

  private:
    struct Strip {
        QRect strip;
        QColor colour;
    };
    std::array<Strip, 8> strips() const {
        const int w = width(), h = height();
        const QColor dark = palette().color(QPalette::Dark),
                     light = palette().color(QPalette::Light);
        return {{{{0, 0, w - 1, 1}, dark},
                 {{0, h - 2, w - 1, 1}, dark},
                 {{0, 1, 1, h - 3}, dark},
                 {{w - 2, 1, 1, h - 3}, dark},
                 {{1, 1, w - 3, 1}, light},
                 {{1, 2, 1, h - 4}, light},
                 {{0, h - 1, w, 1}, light},
                 {{w - 1, 0, 1, h - 1}, light}}};
    }

    const Frame* owner_;
};

// Screen readers see a frame that shares its place as hidden while it is; otherwise as Qt
// shows any frame.
class FrameAccessible : public QAccessibleWidget {
  public:
    explicit FrameAccessible(FrameWidget* frame) : QAccessibleWidget(frame, QAccessible::Border) {}
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (static_cast<const FrameWidget*>(widget())->paintsNothing()) state.invisible = true;
        return state;
    }
};

QAccessibleInterface* frameInterface(const QString&, QObject* object) {
    auto* frame = dynamic_cast<FrameWidget*>(object);
    return frame ? new FrameAccessible(frame) : nullptr;
}
}  // namespace

Frame::Frame(QWidget* parent) : Control(new FrameWidget(parent, this)) {
    static const bool installed = (QAccessible::installFactory(frameInterface), true);
    (void)installed;
    auto* frame = static_cast<QFrame*>(widget());
    frame->setAutoFillBackground(true);
    setBackColor(back_);
}

Frame::~Frame() {
    if (auto* frame = static_cast<FrameWidget*>(widget())) frame->forgetOwner();
}

void Frame::setBackColor(Colour colour) {
    back_ = colour;
    setPaletteColour(widget(), QPalette::Window, colour);
}

void Frame::sharePlace() {
    sharesPlace_ = true;
    widget()->setAutoFillBackground(false);
    showOrHide();
}

void Frame::hold(Control& control) {
    control.holder_ = this;
    held_.push_back(&control);
}

void Frame::prepareWhatItHolds() {
    const qreal ratio = widget()->devicePixelRatioF();
    for (Control* control : held_) {
        QWidget* held = control->widget();
        if (!held || !control->Visible() || held->isVisible()) continue;
        QImage scratch(held->size() * ratio, QImage::Format_RGB32);
        scratch.setDevicePixelRatio(ratio);
        held->render(&scratch);
    }
}

// A frame that shares its place stays on screen, shown or hidden; what changes is what it
// paints, where the pointer goes, and what screen readers are told.
void Frame::showOrHide() {
    auto* frame = static_cast<FrameWidget*>(widget());
    if (!sharesPlace_ || !frame) return Control::showOrHide();
    frame->setVisible(!holder_ || holder_->showsWhatItHolds());
    for (Control* control : held_) control->showOrHide();
    frame->setAttribute(Qt::WA_OpaquePaintEvent, visible_);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents, !visible_);
    frame->update(frame->changedByShowing());
    QAccessibleEvent event(frame, visible_ ? QAccessible::ObjectShow : QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&event);
}

// Line

class Line::Widget : public QWidget {
  public:
    Widget(QWidget* parent, Line* owner) : QWidget(parent), owner_(owner) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QPoint from, to;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QPen pen(toQColor(owner_->colour_));
        pen.setWidth(std::max(1, owner_->borderWidth_));
        pen.setCapStyle(owner_->borderWidth_ > 1 ? Qt::RoundCap : Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(from, to);
    }

  private:
    Line* owner_;
};

Line::Line(QWidget* parent)
    : Control(new Widget(parent, this)), line_(static_cast<Widget*>(widget())) {}

void Line::setEnds(double x1, double y1, double x2, double y2) {
    x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2;
    left_ = std::min(x1, x2);
    top_ = std::min(y1, y2);
    width_ = std::fabs(x2 - x1);
    height_ = std::fabs(y2 - y1);
    applyGeometry();
}

void Line::setBorderWidth(int pixels) {
    borderWidth_ = pixels;
    applyGeometry();
}

void Line::setBorderColor(Colour colour) {
    colour_ = colour;
    line_->update();
}

void Line::applyGeometry() {
    // The widget covers the line's bounding box plus its thickness; the line is drawn inside.
    const QPoint a(twips::toPixels(x1_), twips::toPixels(y1_));
    const QPoint b(twips::toPixels(x2_), twips::toPixels(y2_));
    const int pad = borderWidth_ / 2 + 1;
    const QRect box = QRect(a, b).normalized().adjusted(-pad, -pad, pad, pad);
    line_->from = a - box.topLeft();
    line_->to = b - box.topLeft();
    line_->setGeometry(box);
    line_->update();
}

// Shape

class Shape::Widget : public QWidget {
  public:
    Widget(QWidget* parent, Shape* owner) : QWidget(parent), owner_(owner) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const int w = std::max(1, owner_->borderWidth_);
        painter.setPen(QPen(Qt::black, w));
        painter.setBrush(Qt::NoBrush);
        const QRectF box = QRectF(rect()).adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0);
        const double radius = std::min(box.width(), box.height()) / 6.0;
        painter.drawRoundedRect(box, radius, radius);
    }

  private:
    Shape* owner_;
};

Shape::Shape(QWidget* parent)
    : Control(new Widget(parent, this)), shape_(static_cast<Widget*>(widget())) {}

void Shape::setBorderWidth(int pixels) {
    borderWidth_ = pixels;
    shape_->update();
}

}  // namespace rc
