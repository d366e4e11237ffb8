#include "controls/accessible_menus.h"

#include <QAccessibleObject>
#include <QApplication>
#include <QMenu>

namespace rc {

namespace {

class ApplicationWithMenus : public QAccessibleApplication {
  public:
    int childCount() const override { return windows() + int(menus().size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < windows()) return QAccessibleApplication::child(index);
        const QList<QWidget*> open = menus();
        return index - windows() < open.size()
                   ? QAccessible::queryAccessibleInterface(open[index - windows()])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (const int window = QAccessibleApplication::indexOfChild(child); window >= 0)
            return window;
        const int menu = child ? int(menus().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
        return menu < 0 ? -1 : windows() + menu;
    }

  private:
    int windows() const { return QAccessibleApplication::childCount(); }
    static QList<QWidget*> menus() {
        QList<QWidget*> open;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<QMenu*>(window) && window->isVisible()) open.append(window);
        return open;
    }
};

QAccessibleInterface* applicationInterface(const QString&, QObject* object) {
    return object && object == QCoreApplication::instance() ? new ApplicationWithMenus : nullptr;
}

}  // namespace

void listOpenMenusForScreenReaders() {
    QAccessible::installFactory(applicationInterface);
}

}  // namespace rc
