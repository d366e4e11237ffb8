#include "controls/control.h"

#include "controls/twips.h"

namespace rc {

QFont toQFont(const FontStyle& style) {
    QFont font(QString::fromUtf8(style.face));
    font.setPointSizeF(style.points);
    font.setBold(style.bold);
    font.setStyleStrategy(QFont::PreferMatch);
    return font;
}

void installFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

int mouseButtonCode(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftKeyCode(Qt::KeyboardModifiers keys) {
    return (keys & Qt::ShiftModifier ? 1 : 0) | (keys & Qt::ControlModifier ? 2 : 0) |
           (keys & Qt::AltModifier ? 4 : 0);
}

Control::Control(QWidget* widget) : widget_(widget) {}

Control::~Control() = default;

void Control::setToolTipText(const QString& text) {
    if (widget_) widget_->setToolTip(text);
}

void Control::SetFocus() {
    if (!widget_) return;
    widget_->activateWindow();
    widget_->setFocus(Qt::TabFocusReason);
}

QString Control::name() const {
    return widget_ ? widget_->objectName() : QString();
}

void Control::setLeft(double twips) {
    left_ = twips;
    applyGeometry();
}
void Control::setTop(double twips) {
    top_ = twips;
    applyGeometry();
}
void Control::setWidth(double twips) {
    width_ = twips;
    applyGeometry();
}
void Control::setHeight(double twips) {
    height_ = twips;
    applyGeometry();
}
void Control::Move(double left, double top, double width, double height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    applyGeometry();
}

void Control::applyGeometry() {
    if (widget_) widget_->setGeometry(twips::toPixelRect(left_, top_, width_, height_));
}

void Control::setVisible(bool visible) {
    visible_ = visible;
    showOrHide();
}

void Control::showOrHide() {
    if (widget_) widget_->setVisible(visible_ && (!holder_ || holder_->showsWhatItHolds()));
}

void Control::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (widget_) widget_->setEnabled(enabled);
}

void Control::ZOrder() {
    if (widget_) widget_->raise();
}

void Control::setSpokenNames(const QString& name, const QString& blank) {
    name_ = name;
    blank_ = blank;
    if (widget_) widget_->setAccessibleName(name);
}

// Qt tells screen readers of every new name or description, even one that reads as before; a
// menu click gives many controls their names again.
void Control::setDescription(const QString& text) {
    if (widget_ && widget_->accessibleDescription() != text)
        widget_->setAccessibleDescription(text);
}

void Control::nameAfter(const QString& caption) {
    if (!widget_ || !name_.isEmpty()) return;
    QString said = caption.trimmed();
    if (said.startsWith(QLatin1String("X "))) said.replace(0, 1, QStringLiteral("Multiplicar por"));
    if (said.startsWith(QLatin1String(": "))) said.replace(0, 1, QStringLiteral("Dividir entre"));
    said.replace(QLatin1String(" X "), QLatin1String(" por "))
        .replace(QLatin1String(" : "), QLatin1String(" entre "));
    if (caption.isEmpty() || caption == QLatin1String("?")) said = blank_;
    // Qt tells screen readers of a new name; of a new caption read as it stands (an empty
    // name) the label or button tells them itself.
    const QString name = said == caption ? QString() : said;
    if (widget_->accessibleName() != name) widget_->setAccessibleName(name);
}

}  // namespace rc
