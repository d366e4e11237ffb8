#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/widgets.h"
#include "controls/widgets_common.h"

namespace rc {

class Label::Widget : public QLabel {
  public:
    explicit Widget(QWidget* parent) : QLabel(parent) {
        setTextFormat(Qt::PlainText);
        setWordWrap(true);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setAutoFillBackground(false);
        setMargin(0);
        setIndent(0);
    }
    std::function<void()> onClick;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            onClick)
            onClick();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (onClick && isActivationKey(event))
            onClick();
        else
            QLabel::keyPressEvent(event);
    }
    // The caption drawn as QLabel draws plain text, by every label alike: QLabel would draw
    // one that takes the keyboard through a text control, which lays its text out during the
    // paint and so asks for a second one.
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        style()->drawItemText(
            &painter, contentsRect(),
            int(alignment()) | Qt::TextWordWrap | Qt::TextExpandTabs | Qt::TextForceLeftToRight,
            palette(), isEnabled(), text(), foregroundRole());
        drawFocusMark(this, painter, palette().color(QPalette::WindowText));
    }
};

Label::Label(QWidget* parent)
    : Control(new Widget(parent)), label_(static_cast<Widget*>(widget())) {
    setForeColor(fore_);
}

QString Label::Caption() const {
    return label_->text();
}

void Label::setCaption(const QString& caption) {
    label_->setText(caption);
    nameAfter(caption);
}

void Label::setForeColor(Colour colour) {
    fore_ = colour;
    setPaletteColour(label_, QPalette::WindowText, colour);
}

void Label::setFont(const FontStyle& font) {
    label_->setFont(toQFont(font));
}

void Label::setAlignment(Alignment alignment) {
    const Qt::Alignment horizontal = alignment == Alignment::Centre  ? Qt::AlignHCenter
                                     : alignment == Alignment::Right ? Qt::AlignRight
                                                                     : Qt::AlignLeft;
    label_->setAlignment(horizontal | Qt::AlignTop);
}

void Label::onClick(std::function<void()> handler) {
    label_->onClick = std::move(handler);
    label_->setFocusPolicy(Qt::StrongFocus);
}

}  // namespace rc
