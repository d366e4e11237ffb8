#include "controls/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/icon.h"
#include "controls/twips.h"

namespace rc {

namespace {
// An owned window is a tool window transient for its owner, not one that stays on top of
// everything: with a window manager it would cover the modal message boxes and the results
// window; without one, stacking follows the order windows are shown and raised in.
Qt::WindowFlags flagsFor(BorderStyle border, bool owned) {
    Qt::WindowFlags flags = owned ? Qt::Tool : Qt::Window;
    if (border == BorderStyle::FixedSingle) flags |= Qt::FramelessWindowHint;
    return flags;
}
}  // namespace

Form::Form(const QString& name, std::span<const Row> rows, BorderStyle border, Form* owner)
    : QWidget(owner, flagsFor(border, owner != nullptr)),
      border_(border),
      owned_(owner != nullptr) {
    setObjectName(name);
    setWindowIcon(programIcon());  // every window of the program carries its icon
    setAutoFillBackground(true);
    setBackColor(back_);
    build(controls_, this, name, rows);
    orderTabsByPosition(controls_);
}

void Form::setBackColor(Colour colour) {
    back_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(colour));
    setPalette(p);
}

void Form::setClientSize(double widthTwips, double heightTwips) {
    resize(twips::toPixels(widthTwips), twips::toPixels(heightTwips));
}

QMargins Form::frameMargins() const {
    if (!isVisible()) return assumedFrame_;
    const QRect outer = frameGeometry(), inner = geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

void Form::assumeFrameOf(const Form& shown) {
    assumedFrame_ = shown.frameMargins();
}

void Form::Show() {
    if (QWidget* active = QApplication::activeWindow(); active && active != this)
        keyboardBefore_ = active;
    show();
    raise();
    activateWindow();
}

void Form::keyPressEvent(QKeyEvent* event) {
    if (owned_ && event->key() == Qt::Key_Escape && keyboardBefore_)
        keyboardBefore_->activateWindow();
    else
        QWidget::keyPressEvent(event);
}

void Form::paintEvent(QPaintEvent*) {
    if (border_ != BorderStyle::FixedSingle) return;
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

double Form::Left() const {
    return twips::fromPixels(pos().x());
}
double Form::Top() const {
    return twips::fromPixels(pos().y());
}
double Form::Width() const {
    const QMargins m = frameMargins();
    return twips::fromPixels(width() + m.left() + m.right());
}
double Form::Height() const {
    const QMargins m = frameMargins();
    return twips::fromPixels(height() + m.top() + m.bottom());
}
void Form::setLeft(double twips) {
    moveTo(twips, Top());
}
void Form::setTop(double twips) {
    moveTo(Left(), twips);
}
void Form::moveTo(double leftTwips, double topTwips) {
    move(twips::toPixels(leftTwips), twips::toPixels(topTwips));
}

void Form::onMouseMove(MouseMoveHandler handler) {
    mouseMove_ = std::move(handler);
    setMouseTracking(true);
}

bool Form::onBackground(QPoint point) const {
    const QWidget* child = childAt(point);
    return !child || child->testAttribute(Qt::WA_TransparentForMouseEvents);
}

void Form::mousePressEvent(QMouseEvent* event) {
    pressedOnBackground_ = onBackground(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void Form::mouseMoveEvent(QMouseEvent* event) {
    const Qt::MouseButtons held = event->buttons();
    const bool counts =
        held == Qt::NoButton ? onBackground(event->position().toPoint()) : pressedOnBackground_;
    if (!mouseMove_ || !counts) return QWidget::mouseMoveEvent(event);
    // The pointer's place on the screen less the window's place as last set: while the window
    // is being moved the desktop may still report places relative to where it was.
    const QPointF at =
        isWindow() ? event->globalPosition() - QPointF(geometry().topLeft()) : event->position();
    mouseMove_(mouseButtonCode(held), shiftKeyCode(event->modifiers()), twips::fromPixels(at.x()),
               twips::fromPixels(at.y()));
}

void Form::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onUnload) onUnload();
}

}  // namespace rc
