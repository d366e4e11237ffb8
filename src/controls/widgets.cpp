#include "controls/widgets.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/twips.h"

namespace rc {

namespace {
void setPaletteColour(QWidget* widget, QPalette::ColorRole role, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, role, toQColor(colour));
    palette.setColor(QPalette::Inactive, role, toQColor(colour));
    palette.setColor(QPalette::Disabled, role, toQColor(colour));
    widget->setPalette(palette);
}

// The mark of the control that has the keyboard, shown once the pupil has moved it with the
// keyboard in this window (as the platform's controls do): a dotted rectangle one pixel wide,
// 3 pixels inside the control, in `colour`. It covers nothing else, so a button keeps the
// colour it shows. (The platform's own focus frame washes its highlight over the whole face.)
void drawFocusMark(QWidget* widget, QPainter& painter, const QColor& colour) {
    if (!widget->hasFocus() || !widget->window()->testAttribute(Qt::WA_KeyboardFocusChange)) return;
    QPen pen(colour, 1, Qt::CustomDashLine);
    pen.setDashPattern({1, 1});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(3, 3, widget->width() - 7, widget->height() - 7));
}

// Black on a light face, white on a dark one: whichever stands out more (relative luminance).
QColor markOn(const QColor& face) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * linear(face.redF()) + 0.7152 * linear(face.greenF()) +
                             0.0722 * linear(face.blueF());
    return luminance > 0.179 ? Qt::black : Qt::white;
}

// The buttons whose click is being handled, their own repaint held back until it returns.
std::vector<QPointer<QWidget>>& heldClicks() {
    static std::vector<QPointer<QWidget>> held;
    return held;
}

bool isActivationKey(const QKeyEvent* event) {
    const int key = event->key();
    return !event->isAutoRepeat() &&
           (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
}
}  // namespace

// A modal box runs its own event loop inside the click that opened it: the clicked button is
// repainted with the rest of the window under the box instead of after it closes.
void paintHeldClicks() {
    for (const QPointer<QWidget>& button : heldClicks())
        if (button) button->setUpdatesEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Label

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

// ---------------------------------------------------------------------------------------------
// CommandButton

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

// ---------------------------------------------------------------------------------------------
// Frame

// The sunken box border: a dark rectangle with a light one inside it, offset by one pixel,
// drawn as eight strips where this paint needs them. A frame holds many controls, so the area
// it paints is full of holes, and Qt's line drawing clips every pixel of its border against
// them; filling a few thin rectangles is the same picture at a fraction of the cost.
namespace {
class FrameWidget : public QFrame {
  public:
    explicit FrameWidget(QWidget* parent) : QFrame(parent) {
        setFrameStyle(QFrame::Box | QFrame::Sunken);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        const int w = width(), h = height();
        const QColor dark = palette().color(QPalette::Dark),
                     light = palette().color(QPalette::Light);
        const struct {
            QRect strip;
            const QColor& colour;
        } strips[] = {{{0, 0, w - 1, 1}, dark},  {{0, h - 2, w - 1, 1}, dark},
                      {{0, 1, 1, h - 3}, dark},  {{w - 2, 1, 1, h - 3}, dark},
                      {{1, 1, w - 3, 1}, light}, {{1, 2, 1, h - 4}, light},
                      {{0, h - 1, w, 1}, light}, {{w - 1, 0, 1, h - 1}, light}};
        QPainter painter(this);
        for (const auto& [strip, colour] : strips)
            if (event->region().intersects(strip)) painter.fillRect(strip, colour);
    }
};
}  // namespace

Frame::Frame(QWidget* parent) : Control(new FrameWidget(parent)) {
    auto* frame = static_cast<QFrame*>(widget());
    frame->setAutoFillBackground(true);
    setBackColor(back_);
}

void Frame::setBackColor(Colour colour) {
    back_ = colour;
    setPaletteColour(widget(), QPalette::Window, colour);
}

// ---------------------------------------------------------------------------------------------
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

// ---------------------------------------------------------------------------------------------
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

// ---------------------------------------------------------------------------------------------
// ListBox

class ListBox::Widget : public QTableWidget {
  public:
    explicit Widget(QWidget* parent) : QTableWidget(0, 1, parent) {
        // A press that selected a new line has told already; the release does not tell again.
        connect(this, &QTableWidget::cellClicked, this, [this] {
            if (!selectedSincePress_ && onClick) onClick();
        });
    }
    std::function<void()> onClick;

    // Lines added or taken away are laid out, scroll bar and all, just before the window
    // paints, so that the list is painted once, complete, with the rest of the window.
    void linesChanged() {
        if (!layoutPending_ && window()) window()->installEventFilter(this);
        layoutPending_ = true;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::UpdateRequest && layoutPending_) {
            layoutPending_ = false;
            watched->removeEventFilter(this);
            executeDelayedItemsLayout();
            // A scroll bar that comes or goes (Qt decides it in a queued call) narrows or
            // widens the lines at once, too.
            QCoreApplication::sendPostedEvents(this, 0);
            executeDelayedItemsLayout();
            // The scroll bar just shown asks for its paint in posted events; asked now, it is
            // painted in this pass rather than in one of its own after it.
            QCoreApplication::sendPostedEvents(verticalScrollBar()->parentWidget(), 0);
            QCoreApplication::sendPostedEvents(verticalScrollBar(), 0);
        }
        return QTableWidget::eventFilter(watched, event);
    }
    // The one column is as wide as the viewport. Set here, quietly: told of it, the table
    // would repaint the column once more from a timer, after the window's paint.
    bool viewportEvent(QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            const QSignalBlocker quiet(horizontalHeader());
            horizontalHeader()->resizeSection(0, viewport()->width());
        }
        return QTableWidget::viewportEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        selectedSincePress_ = false;
        QTableWidget::mousePressEvent(event);
    }
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override {
        QTableWidget::selectionChanged(selected, deselected);
        if (selected.isEmpty()) return;
        selectedSincePress_ = true;
        if (onClick) onClick();
    }
    // Home and End go to the first and the last line, as in a list, not along a table's row.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if (action == MoveHome || action == MoveEnd) modifiers |= Qt::ControlModifier;
        return QTableWidget::moveCursor(action, modifiers);
    }
    // The menu of the entries added to the list pops up and returns at once: the event loop
    // goes on, and a click elsewhere closes it.
    void contextMenuEvent(QContextMenuEvent* event) override {
        if (actions().isEmpty()) return;
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addActions(actions());
        menu->popup(event->globalPos());
    }
    // Ctrl+click on the selected line would leave the list without one; it does nothing.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        const QItemSelectionModel::SelectionFlags command =
            QTableWidget::selectionCommand(index, event);
        return command.testFlag(QItemSelectionModel::Deselect) ? QItemSelectionModel::NoUpdate
                                                               : command;
    }

  private:
    bool selectedSincePress_ = false;
    bool layoutPending_ = false;
};

ListBox::ListBox(QWidget* parent)
    : Control(new Widget(parent)), list_(static_cast<Widget*>(widget())) {
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(false);
    list_->setWordWrap(false);
    list_->setTabKeyNavigation(false);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->horizontalHeader()->hide();
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setMinimumSectionSize(1);
    setFont({});
}

void ListBox::setFont(const FontStyle& font) {
    list_->setFont(toQFont(font));
    // Every line is one line of text high.
    list_->verticalHeader()->setDefaultSectionSize(QFontMetrics(list_->font()).height() + 2);
}

void ListBox::setColours(Colour back, Colour fore) {
    back_ = back;
    fore_ = fore;
    setPaletteColour(list_, QPalette::Base, back);
    setPaletteColour(list_, QPalette::Text, fore);
}

int ListBox::ListCount() const {
    return list_->rowCount();
}

QString ListBox::List(int index) const {
    const QTableWidgetItem* item = list_->item(index, 0);
    return item ? item->text() : QString();
}

void ListBox::setList(int index, const QString& text) {
    if (index >= 0 && index < ListCount())
        list_->item(index, 0)->setText(text);
    else if (index >= ListCount()) {
        AddItem(text);
        list_->scrollToBottom();  // a new line at the bottom is seen at once
    }
}

void ListBox::AddItem(const QString& text) {
    const int row = ListCount();
    list_->insertRow(row);
    list_->setItem(row, 0, new QTableWidgetItem(text));
    list_->linesChanged();
}

void ListBox::RemoveItem(int index) {
    if (index >= 0 && index < ListCount()) list_->removeRow(index);
    list_->linesChanged();
}

void ListBox::Clear() {
    list_->setRowCount(0);
    list_->linesChanged();
}

int ListBox::ListIndex() const {
    // Not the current row: focus alone makes the first line current without selecting it.
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListBox::setListIndex(int index) {
    if (index >= 0 && index < ListCount()) {
        list_->setCurrentCell(index, 0);
    } else {
        list_->clearSelection();
        list_->setCurrentIndex({});
    }
}

void ListBox::onClick(std::function<void()> handler) {
    list_->onClick = std::move(handler);
}

void ListBox::addMenuEntry(const QString& caption, StandardKey key, ShortcutScope scope,
                           std::function<void()> handler) {
    auto* action = new QAction(caption, list_);
    action->setShortcut(key == StandardKey::Copy ? QKeySequence::Copy : QKeySequence::Save);
    action->setShortcutContext(scope == ShortcutScope::Control ? Qt::WidgetShortcut
                                                               : Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, list_, std::move(handler));
    list_->addAction(action);
}

// ---------------------------------------------------------------------------------------------
// OptionButton

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
