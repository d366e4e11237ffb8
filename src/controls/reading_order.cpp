// The keyboard's Tab order of a window, read from the places of its controls.
#include <algorithm>
#include <map>
#include <set>

#include "controls/catalogue.h"

namespace rc {

namespace {

// A control that takes Tab, a block of them, or a container holding some: its box in its
// container, and its controls in reading order.
struct Item {
    QRect box;
    std::vector<QWidget*> order;
};

enum class Axis { Rows, Columns };

// Splits items into rows (or columns) at the gaps that nothing crosses; boxes that overlap by
// two pixels or less (the hairlines where designed controls touch) count as apart.
std::vector<std::vector<Item>> split(std::vector<Item> items, Axis axis) {
    const auto start = [axis](const Item& i) {
        return axis == Axis::Rows ? i.box.top() : i.box.left();
    };
    const auto end = [axis](const Item& i) {
        return axis == Axis::Rows ? i.box.bottom() + 1 : i.box.right() + 1;
    };
    std::stable_sort(items.begin(), items.end(),
                     [&](const Item& a, const Item& b) { return start(a) < start(b); });
    std::vector<std::vector<Item>> groups;
    int reach = 0;
    for (Item& item : items) {
        if (groups.empty() || start(item) >= reach - 2) groups.emplace_back();
        reach = groups.back().empty() ? end(item) : std::max(reach, end(item));
        groups.back().push_back(std::move(item));
    }
    return groups;
}

// Rows first (or columns first), then the other way within each, and so on; items that
// neither way can part are read from the top, then from the left.
std::vector<QWidget*> read(std::vector<Item> items, Axis first) {
    std::vector<QWidget*> order;
    const Axis second = first == Axis::Rows ? Axis::Columns : Axis::Rows;
    std::vector<std::vector<Item>> groups = split(items, first);
    if (groups.size() == 1) groups = split(items, second);
    if (groups.size() == 1) {
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
            return std::pair(a.box.top(), a.box.left()) < std::pair(b.box.top(), b.box.left());
        });
        for (const Item& item : items)
            order.insert(order.end(), item.order.begin(), item.order.end());
        return order;
    }
    for (std::vector<Item>& group : groups) {
        const std::vector<QWidget*> part =
            group.size() == 1 ? group.front().order : read(std::move(group), first);
        order.insert(order.end(), part.begin(), part.end());
    }
    return order;
}

}  // namespace

void orderTabsByPosition(const Controls& controls, Reading window, std::span<const Block> blocks) {
    // Every container on the way from a control that takes Tab up to the window, and what it
    // holds of them, in the order of creation.
    std::map<QWidget*, std::vector<QWidget*>> holds;
    QWidget* top = nullptr;
    for (const Control* control : controls.all()) {
        QWidget* widget = control->widget();
        if (!widget || !(widget->focusPolicy() & Qt::TabFocus)) continue;
        for (QWidget* child = widget; !child->isWindow(); child = child->parentWidget()) {
            std::vector<QWidget*>& held = holds[child->parentWidget()];
            if (std::find(held.begin(), held.end(), child) != held.end()) break;
            held.push_back(child);
            top = child->window();
        }
    }
    if (!top) return;
    std::map<QWidget*, const Block*> blockOf;
    for (const Block& block : blocks)
        for (const char* address : block)
            if (Control* c = controls.find(QString::fromUtf8(address)))
                blockOf[c->widget()] = &block;

    const auto readContainer = [&](const auto& self, QWidget* container) -> std::vector<QWidget*> {
        std::vector<Item> items;
        std::set<const Block*> placed;
        for (QWidget* child : holds[container]) {
            if (holds.count(child)) {
                items.push_back({child->geometry(), self(self, child)});
                continue;
            }
            const auto block = blockOf.find(child);
            if (block == blockOf.end()) {
                items.push_back({child->geometry(), {child}});
            } else if (placed.insert(block->second).second) {
                Item together;
                for (const char* address : *block->second) {
                    QWidget* member = controls.find(QString::fromUtf8(address))->widget();
                    together.box |= member->geometry();
                    together.order.push_back(member);
                }
                items.push_back(std::move(together));
            }
        }
        const bool columns = container == top && window == Reading::ColumnsFirst;
        return read(std::move(items), columns ? Axis::Columns : Axis::Rows);
    };
    const std::vector<QWidget*> order = readContainer(readContainer, top);
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    // The chain is a ring; a window opens with the keyboard on the first control it shows.
    if (top->isVisible()) return;
    for (QWidget* first : order)
        if (first->isVisibleTo(top) && first->isEnabled()) return first->setFocus();
}

}  // namespace rc
