#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>

#include "controls/widgets.h"
#include "controls/widgets_common.h"

namespace rc {

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

}  // namespace rc
