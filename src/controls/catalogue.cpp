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

// A control as the row and the element make it; a control with a caption is named before it
// is given its caption, so that its name follows the caption from the start.
std::unique_ptr<Control> create(const Row& row, const Element& element, QWidget* parent,
                                const QString& name, const QString& blank) {
    const FontStyle font = element.own.font.value_or(row.font);
    const std::optional<Colour> fore = element.own.fore ? element.own.fore : row.fore;
    const std::optional<Colour> back = element.own.back ? element.own.back : row.back;
    const QString caption = QString::fromUtf8(element.caption ? element.caption
                                              : row.caption   ? row.caption
                                                              : "");
    const Geometry& g = element.geometry;
    switch (row.kind) {
        case Kind::CommandButton: {
            auto button = std::make_unique<CommandButton>(parent, row.graphical);
            button->setSpokenNames(name, blank);
            button->setCaption(caption);
            button->setFont(font);
            if (back) button->setBackColor(*back);
            button->Move(g.a, g.b, g.c, g.d);
            return button;
        }
        case Kind::Label: {
            auto label = std::make_unique<Label>(parent);
            label->setSpokenNames(name, blank);
            label->setCaption(caption);
            label->setFont(font);
            label->setAlignment(row.alignment);
            if (fore) label->setForeColor(*fore);
            label->Move(g.a, g.b, g.c, g.d);
            return label;
        }
        case Kind::Frame: {
            auto frame = std::make_unique<Frame>(parent);
            if (back) frame->setBackColor(*back);
            frame->Move(g.a, g.b, g.c, g.d);
            return frame;
        }
        case Kind::PictureBox: {
            auto picture = std::make_unique<PictureBox>(parent);
            if (back) picture->setBackColor(*back);
            if (fore) picture->setForeColor(*fore);
            picture->Move(g.a, g.b, g.c, g.d);
            return picture;
        }
        case Kind::ListBox: {
            auto list = std::make_unique<ListBox>(parent);
            list->setFont(font);
            list->setColours(back.value_or(SystemColour::WindowBackground),
                             fore.value_or(SystemColour::WindowText));
            list->Move(g.a, g.b, g.c, g.d);
            return list;
        }
        case Kind::OptionButton: {
            auto option = std::make_unique<OptionButton>(parent);
            option->setCaption(caption);
            option->setFont(font);
            if (fore) option->setForeColor(*fore);
            if (back) option->setBackColor(*back);
            option->setValue(element.own.selected);
            option->Move(g.a, g.b, g.c, g.d);
            return option;
        }
        case Kind::Line: {
            auto line = std::make_unique<Line>(parent);
            line->setBorderWidth(element.own.borderWidth.value_or(row.borderWidth));
            if (fore) line->setBorderColor(*fore);
            line->setEnds(g.a, g.b, g.c, g.d);
            return line;
        }
        case Kind::Shape: {
            auto shape = std::make_unique<Shape>(parent);
            shape->setBorderWidth(element.own.borderWidth.value_or(row.borderWidth));
            shape->Move(g.a, g.b, g.c, g.d);
            return shape;
        }
    }
    return nullptr;
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
        if (container != windowName) {
            Control* holder = controls.find(container);
            if (!holder) throw std::logic_error("no container " + container.toStdString());
            parent = holder->widget();
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
