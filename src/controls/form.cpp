#include "controls/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "controls/control.h"
#include "controls/icon.h"
#include "controls/twips.h"

namespace rc {

namespace {
// An owned window is a tool window transient for its owner, not one that stays on top of
// everything: with a window manager it would cover the modal message boxes and the results
// window; without one, stacking follows the order windows are shown and raised in.
int keyCodeOf(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (keypad ? KeyCode::Numpad0 : KeyCode::Digit0) + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Backspace:
            return KeyCode::Back;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return KeyCode::Return;
        case Qt::Key_Escape:
            return KeyCode::Escape;
        case Qt::Key_Delete:
            return KeyCode::Delete;
        case Qt::Key_Plus:
            return keypad ? KeyCode::Add : 0;
        case Qt::Key_Minus:
            return keypad ? KeyCode::Subtract : 0;
        default:
            return 0;
    }
}

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

void Form::onKeyDown(KeyDownHandler handler) {
    if (!keyDown_) qApp->installEventFilter(this);
    keyDown_ = std::move(handler);
}

// A key goes first to the widget with the keyboard, then up to its containers while they pass
// it on: the handler sees it once, as it reaches the first of them.
bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !keyDown_ || !watched->isWidgetType())
        return QWidget::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    QWidget* first = QApplication::focusWidget();
    if (widget->window() != this || widget != (first ? first : this)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const int code = keyCodeOf(*key);
    return code != 0 && keyDown_(code, shiftKeyCode(key->modifiers()));
}

void Form::focusAfter(const Control& control) {
    for (QWidget* next = control.widget()->nextInFocusChain(); next != control.widget();
         next = next->nextInFocusChain()) {
        if (next->window() == this && (next->focusPolicy() & Qt::TabFocus) && next->isVisible() &&
            next->isEnabled()) {
            activateWindow();
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void Form::paintEvent(QPaintEvent*) {
    if (afterFirstPaint) QTimer::singleShot(0, this, std::exchange(afterFirstPaint, {}));
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
