#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/widgets.h"
#include "controls/widgets_common.h"

namespace rc {

class CommandButton::Widget : public QPushButton {
  public:
    Widget(QWidget* parent, CommandButton* owner) : QPushButton(parent), owner_(owner) {}

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (!owner_->graphical_) {
            QPushButton::paintEvent(event);
            QPainter painter(this);
            drawFocusMark(this, painter, palette().color(QPalette::ButtonText));
            return;
        }
        // One flat colour inside a classic raised (or, while pressed, sunken) bevel.
        QPainter painter(this);
        const QRect r = rect();
        painter.fillRect(r, toQColor(owner_->back_));
        const QColor light = Qt::white, shadow(128, 128, 128), dark = Qt::black;
        const bool down = isDown() || isChecked();
        auto bevel = [&](QRect box, const QColor& topLeft, const QColor& bottomRight) {
            painter.fillRect(box.x(), box.y(), box.width(), 1, topLeft);
            painter.fillRect(box.x(), box.y(), 1, box.height(), topLeft);
            painter.fillRect(box.x(), box.bottom(), box.width(), 1, bottomRight);
            painter.fillRect(box.right(), box.y(), 1, box.height(), bottomRight);
        };
        if (down) {
            bevel(r, dark, dark);
            bevel(r.adjusted(1, 1, -1, -1), shadow, shadow);
        } else {
            bevel(r, light, dark);
            bevel(r.adjusted(1, 1, -1, -1), toQColor(owner_->back_), shadow);
        }
        QRect textBox = r.adjusted(3, 2, -3, -2);
        if (down) textBox.translate(1, 1);
        painter.setFont(font());
        painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText) : shadow);
        painter.drawText(textBox, Qt::AlignCenter | Qt::TextWordWrap, text());
        drawFocusMark(this, painter, markOn(toQColor(owner_->back_)));
    }
    // Space is the button's own key; Enter clicks it too.
    void keyPressEvent(QKeyEvent* event) override {
        if (isActivationKey(event) && event->key() != Qt::Key_Space)
            click();
        else
            QPushButton::keyPressEvent(event);
    }

    // Qt repaints a pressed and a released button at once, before its click handler runs;
    // held back, the button is painted with the window's next repaint, together with whatever
    // the click changes (its colour, the section it opens). A quick click, whose release waits
    // behind its press, is shown pressed and answered in one pass instead of two.
    void mousePressEvent(QMouseEvent* event) override {
        paintedWithItsClick([&] { QPushButton::mousePressEvent(event); });
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        paintedWithItsClick([&] { QPushButton::mouseReleaseEvent(event); });
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        paintedWithItsClick([&] { QPushButton::keyReleaseEvent(event); });
    }

  private:
    template <class Release>
    void paintedWithItsClick(Release release) {
        const QPointer<QWidget> self(this);
        setUpdatesEnabled(false);
        heldClicks().push_back(self);
        release();
        std::erase(heldClicks(), self);
        if (self) setUpdatesEnabled(true);  // schedules the one repaint
    }

    CommandButton* owner_;
};

CommandButton::CommandButton(QWidget* parent, bool graphical)
    : Control(new Widget(parent, this)),
      button_(static_cast<Widget*>(widget())),
      graphical_(graphical) {
    button_->setAutoDefault(false);
    button_->setFocusPolicy(Qt::StrongFocus);
}

QString CommandButton::Caption() const {
    return button_->text();
}

void CommandButton::setCaption(const QString& caption) {
    button_->setText(caption);
    nameAfter(caption);
}

void CommandButton::setBackColor(Colour colour) {
    back_ = colour;
    if (graphical_) button_->update();
}

void CommandButton::setFont(const FontStyle& font) {
    button_->setFont(toQFont(font));
}

void CommandButton::onClick(std::function<void()> handler) {
    QObject::connect(button_, &QPushButton::clicked, button_,
                     [handler = std::move(handler)] { handler(); });
}

void CommandButton::click() {
    button_->click();
}

}  // namespace rc
