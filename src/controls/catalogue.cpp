#include "controls/catalogue.h"

#include <QRegularExpression>

namespace rc {

QString address(const QString& name, int index) {
    return index == NoIndex ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

Control* Controls::find(const QString& addr) const {
    static const QRegularExpression pattern(QStringLiteral("^(\\w+)(?:\\((\\d+)\\))?$"));
    const auto match = pattern.match(addr);
    if (!match.hasMatch()) return nullptr;
    auto it = arrays_.find(match.captured(1));
    if (it == arrays_.end()) return nullptr;
    const int index = match.captured(2).isEmpty() ? NoIndex : match.captured(2).toInt();
    return it->second->element(index);
}

namespace {

bool isLightweight(Kind kind) {
    return kind == Kind::Label || kind == Kind::Line || kind == Kind::Shape;
}

// What an element takes from its row unless it has its own.
struct Look {
    FontStyle font;
    std::optional<Colour> fore, back;
    QString caption;
    Look(const Row& row, const Element& element)
        : font(element.own.font.value_or(row.font)),
          fore(element.own.fore ? element.own.fore : row.fore),
          back(element.own.back ? element.own.back : row.back),
          caption(QString::fromUtf8(element.caption ? element.caption
                                    : row.caption   ? row.caption
                                                    : "")) {}
};

// The controls with a caption; each is named before it is given its caption, so that its name
// follows the caption from the start.
std::unique_ptr<Control> createCaptioned(const Row& row, const Element& element, QWidget* parent,
                                         const QString& name, const QString& blank) {
    const Look look(row, element);
    const Geometry& g = element.geometry;
    if (row.kind == Kind::CommandButton) {
        auto button = std::make_unique<CommandButton>(parent, row.graphical);
        button->setSpokenNames(name, blank);
        button->setCaption(look.caption);
        button->setFont(look.font);
        if (look.back) button->setBackColor(*look.back);
        button->Move(g.a, g.b, g.c, g.d);
        return button;
    }
    if (row.kind == Kind::Label) {
        auto label = std::make_unique<Label>(parent);
        label->setSpokenNames(name, blank);
        label->setCaption(look.caption);
        label->setFont(look.font);
        label->setAlignment(row.alignment);
        if (look.fore) label->setForeColor(*look.fore);
        label->Move(g.a, g.b, g.c, g.d);
        return label;
    }
    auto option = std::make_unique<OptionButton>(parent);
    option->setCaption(look.caption);
    option->setFont(look.font);
    if (look.fore) option->setForeColor(*look.fore);
    if (look.back) option->setBackColor(*look.back);
    option->setValue(element.own.selected);
    option->Move(g.a, g.b, g.c, g.d);
    return option;
}

// The controls without a caption: containers, the list, lines and shapes.
std::unique_ptr<Control> createPlain(const Row& row, const Element& element, QWidget* parent) {
    const Look look(row, element);
    const Geometry& g = element.geometry;
    std::unique_ptr<Control> made;
    if (row.kind == Kind::Frame) {
        auto frame = std::make_unique<Frame>(parent);
        if (look.back) frame->setBackColor(*look.back);
        made = std::move(frame);
    } else if (row.kind == Kind::PictureBox) {
        auto picture = std::make_unique<PictureBox>(parent);
        if (look.back) picture->setBackColor(*look.back);
        if (look.fore) picture->setForeColor(*look.fore);
        made = std::move(picture);
    } else if (row.kind == Kind::ListBox) {
        auto list = std::make_unique<ListBox>(parent);
        list->setFont(look.font);
        list->setColours(look.back.value_or(SystemColour::WindowBackground),
                         look.fore.value_or(SystemColour::WindowText));
        made = std::move(list);
    } else if (row.kind == Kind::Line) {
        auto line = std::make_unique<Line>(parent);
        line->setBorderWidth(element.own.borderWidth.value_or(row.borderWidth));
        if (look.fore) line->setBorderColor(*look.fore);
        line->setEnds(g.a, g.b, g.c, g.d);
        return line;
    } else {
        auto shape = std::make_unique<Shape>(parent);
        shape->setBorderWidth(element.own.borderWidth.value_or(row.borderWidth));
        made = std::move(shape);
    }
    made->Move(g.a, g.b, g.c, g.d);
    return made;
}

// A control as the row and the element make it.
std::unique_ptr<Control> create(const Row& row, const Element& element, QWidget* parent,
                                const QString& name, const QString& blank) {
    const bool captioned = row.kind == Kind::CommandButton || row.kind == Kind::Label ||
                           row.kind == Kind::OptionButton;
    return captioned ? createCaptioned(row, element, parent, name, blank)
                     : createPlain(row, element, parent);
}

template <class T>
void addTyped(Controls& controls, const QString& name, int index, std::unique_ptr<Control> c) {
    controls.add<T>(name, index, std::unique_ptr<T>(static_cast<T*>(c.release())));
}

}  // namespace

void build(Controls& controls, QWidget* window, const QString& windowName,
           std::span<const Row> rows) {
    std::vector<QWidget*> lightweight;
    for (const Row& row : rows) {
        const QString container = QString::fromUtf8(row.container);
        QWidget* parent = window;
        Frame* frame = nullptr;
        if (container != windowName) {
            Control* holder = controls.find(container);
            if (!holder) throw std::logic_error("no container " + container.toStdString());
            parent = holder->widget();
            frame = dynamic_cast<Frame*>(holder);
        }
        const QString name = QString::fromUtf8(row.name);
        for (const Element& element : row.elements) {
            const char* own = element.own.name ? element.own.name : row.accessibleName;
            const QString spoken = QString::fromUtf8(own ? own : "");
            std::unique_ptr<Control> control =
                create(row, element, parent, spoken, QString::fromUtf8(row.blankName));
            QWidget* widget = control->widget();
            widget->setObjectName(address(name, element.index));
            if (row.kind != Kind::CommandButton && row.kind != Kind::Label)
                control->setSpokenNames(spoken, {});
            if (const char* d =
                    element.own.description ? element.own.description : row.accessibleDescription)
                control->setDescription(QString::fromUtf8(d));
            if (frame && frame->SharesPlace()) frame->hold(*control);
            if (row.sharesPlace) static_cast<Frame&>(*control).sharePlace();
            control->setVisible(!element.own.hidden);
            if (isLightweight(row.kind)) lightweight.push_back(widget);
            switch (row.kind) {
                case Kind::CommandButton:
                    addTyped<CommandButton>(controls, name, element.index, std::move(control));
                    break;
                case Kind::Label:
                    addTyped<Label>(controls, name, element.index, std::move(control));
                    break;
                case Kind::Frame:
                    addTyped<Frame>(controls, name, element.index, std::move(control));
                    break;
                case Kind::PictureBox:
                    addTyped<PictureBox>(controls, name, element.index, std::move(control));
                    break;
                case Kind::ListBox:
                    addTyped<ListBox>(controls, name, element.index, std::move(control));
                    break;
                case Kind::OptionButton:
                    addTyped<OptionButton>(controls, name, element.index, std::move(control));
                    break;
                case Kind::Line:
                    addTyped<Line>(controls, name, element.index, std::move(control));
                    break;
                case Kind::Shape:
                    addTyped<Shape>(controls, name, element.index, std::move(control));
                    break;
            }
        }
    }
    // Lightweight controls are painted on their container, behind its windowed controls,
    // keeping their own order among themselves.
    for (auto it = lightweight.rbegin(); it != lightweight.rend(); ++it) (*it)->lower();
}

void restack(const Controls& controls, std::span<const char* const> frontToBack) {
    for (auto it = frontToBack.rbegin(); it != frontToBack.rend(); ++it) {
        if (Control* control = controls.find(QString::fromUtf8(*it))) control->ZOrder();
    }
}

}  // namespace rc
