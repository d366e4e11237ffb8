#include "controls/widgets.h"
#include "controls/widgets_common.h"

namespace rc {

OptionButton::OptionButton(QWidget* parent)
    : Control(new QRadioButton(parent)), option_(static_cast<QRadioButton*>(widget())) {
    // A button fills with its Button role; an option button stands on its BackColor instead.
    option_->setBackgroundRole(QPalette::Window);
    option_->setAutoFillBackground(true);
}

QString OptionButton::Caption() const {
    return option_->text();
}

void OptionButton::setCaption(const QString& caption) {
    option_->setText(caption);
}

bool OptionButton::Value() const {
    return option_->isChecked();
}

void OptionButton::setValue(bool value) {
    option_->setChecked(value);
}

void OptionButton::setBackColor(Colour colour) {
    back_ = colour;
    setPaletteColour(option_, QPalette::Window, colour);
}

void OptionButton::setForeColor(Colour colour) {
    fore_ = colour;
    setPaletteColour(option_, QPalette::WindowText, colour);
}

void OptionButton::setFont(const FontStyle& font) {
    option_->setFont(toQFont(font));
}

// Runs whenever the option becomes the selected one: clicked, chosen with the keyboard, or
// set by the program.
void OptionButton::onClick(std::function<void()> handler) {
    QObject::connect(option_, &QRadioButton::toggled, option_,
                     [handler = std::move(handler)](bool on) {
                         if (on) handler();
                     });
}

}  // namespace rc
