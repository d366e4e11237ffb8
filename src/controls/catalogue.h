#pragma once

#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

#include "controls/control.h"
#include "controls/picturebox.h"
#include "controls/widgets.h"

namespace rc {

// ---------------------------------------------------------------------------------------------
// Control arrays: like controls addressed by index, each element's handler told its index.

constexpr int NoIndex = -1;  // the one element of a control that is not an array

class ControlArrayBase {
  public:
    virtual ~ControlArrayBase() = default;
    virtual Control* element(int index) const = 0;
    virtual std::vector<int> indices() const = 0;
};

template <class T>
class ControlArray : public ControlArrayBase {
  public:
    explicit ControlArray(QString name) : name_(std::move(name)) {}

    // The element at `index`, as the sections write it: Label17(3).
    T& operator()(int index) const {
        auto it = elements_.find(index);
        if (it == elements_.end())
            throw std::out_of_range(name_.toStdString() + "(" + std::to_string(index) + ")");
        return *it->second;
    }
    bool exists(int index) const { return elements_.count(index) != 0; }
    std::vector<int> indices() const override {
        std::vector<int> result;
        for (const auto& [index, control] : elements_) result.push_back(index);
        return result;
    }
    Control* element(int index) const override {
        auto it = elements_.find(index);
        return it == elements_.end() ? nullptr : it->second.get();
    }
    // One handler for the whole array, called with the index of the element clicked.
    template <class Handler>
    void onClick(Handler handler) {
        for (auto& [index, control] : elements_) {
            const int i = index;
            control->onClick([handler, i] { handler(i); });
        }
    }
    void add(int index, std::unique_ptr<T> control) { elements_[index] = std::move(control); }

  private:
    QString name_;
    std::map<int, std::unique_ptr<T>> elements_;
};

// Every control of one window, by name.
class Controls {
  public:
    template <class T>
    ControlArray<T>& array(const QString& name) const {
        auto it = arrays_.find(name);
        auto* typed =
            it == arrays_.end() ? nullptr : dynamic_cast<ControlArray<T>*>(it->second.get());
        if (!typed) throw std::out_of_range("no control array " + name.toStdString());
        return *typed;
    }
    template <class T>
    T& single(const QString& name) const {
        return array<T>(name)(NoIndex);
    }
    // A control by its address: "Label17(3)", "Picture2".
    Control* find(const QString& address) const;
    // Every control, in the order of creation.
    const std::vector<Control*>& all() const { return order_; }

    template <class T>
    T& add(const QString& name, int index, std::unique_ptr<T> control) {
        auto& slot = arrays_[name];
        if (!slot) slot = std::make_unique<ControlArray<T>>(name);
        auto* typed = dynamic_cast<ControlArray<T>*>(slot.get());
        if (!typed) throw std::logic_error("mixed kinds in " + name.toStdString());
        T& result = *control;
        order_.push_back(control.get());
        typed->add(index, std::move(control));
        return result;
    }

  private:
    std::map<QString, std::unique_ptr<ControlArrayBase>> arrays_;
    std::vector<Control*> order_;
};

QString address(const QString& name, int index);

// ---------------------------------------------------------------------------------------------
// The declarative description of a window: one row per control or control array.

enum class Kind { CommandButton, Label, Frame, PictureBox, ListBox, OptionButton, Line, Shape };

// Left, Top, Width, Height; for lines X1, Y1, X2, Y2. Twips.
struct Geometry {
    double a = 0, b = 0, c = 0, d = 0;
};

// What one element of an array has of its own.
struct Overrides {
    std::optional<Colour> fore = {};
    std::optional<Colour> back = {};
    std::optional<FontStyle> font = {};
    std::optional<int> borderWidth = {};
    bool hidden = false;
    bool selected = false;
    const char* name = nullptr;         // what a screen reader calls it, instead of the row's
    const char* description = nullptr;  // what it does, instead of the row's
};

struct Element {
    int index = NoIndex;
    const char* caption = nullptr;  // nullptr: the row's caption
    Geometry geometry = {};
    Overrides own = {};
};

struct Row {
    const char* name = "";
    Kind kind = Kind::Label;
    const char* container = "";  // a window's name or a control's address
    const char* caption = nullptr;
    FontStyle font = {};
    std::optional<Colour> fore = {};  // text colour; a line's colour
    std::optional<Colour> back = {};
    bool graphical = false;
    bool sharesPlace = false;  // frames standing in one place, one shown at a time (see Frame)
    Alignment alignment = Alignment::Left;
    int borderWidth = 1;
    // What a screen reader calls each element (a control with a caption: instead of it), what
    // it calls one whose caption shows no number yet ("" or "?"), and what it says it does.
    const char* accessibleName = nullptr;
    const char* blankName = nullptr;
    const char* accessibleDescription = nullptr;
    std::vector<Element> elements = {};
};

// Creates the controls of the rows inside `window` (whose name is `windowName`), in row order.
// Labels, lines and shapes are drawn behind the other controls of their container.
void build(Controls& controls, QWidget* window, const QString& windowName,
           std::span<const Row> rows);

// Restacks controls of one container: `frontToBack` names them from the front.
void restack(const Controls& controls, std::span<const char* const> frontToBack);

// How the controls that stand directly on the window are read: in rows like a container's, or
// in columns first (a menu column beside the section area).
enum class Reading { Rows, ColumnsFirst };
// Controls read one after another, in the order given, where they stand together (a fraction
// that the pupil writes: its numerator, then its denominator). They share a container.
using Block = std::vector<const char*>;

// Chains the keyboard's Tab through the window's controls that take it, in reading order from
// their places: each container's controls in rows from the top, each row from the left (a row
// ends where nothing crosses the gap below it; controls that overlap by a pixel or two count as
// apart), and so on within rows and columns; a container's controls are read where the
// container stands. Hidden and disabled controls stay in the chain: Tab passes over them while
// they are so. A window not shown yet opens with the keyboard on the first control it shows.
void orderTabsByPosition(const Controls& controls, Reading window = Reading::Rows,
                         std::span<const Block> blocks = {});

}  // namespace rc
