#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <functional>
#include <vector>

#include "controls/control.h"

namespace rc {

enum class Alignment { Left, Centre, Right };

// A clicked button is painted with the window's next repaint, after its click is handled. A
// modal box opened by the click calls this first, so that under the box the button shows its
// new state with the rest of the window.
void paintHeldClicks();

// The desktop's own key sequences for common commands (Ctrl+C, Ctrl+S on most desktops).
enum class StandardKey { Copy, Save };
// Where a shortcut works: while its control has the focus, or anywhere in the control's window
// while that window is the active one.
enum class ShortcutScope { Control, Window };

// A transparent label: only its text is drawn, over whatever lies behind it. The caption wraps
// at word boundaries within the label's width and is cut off at its height. A label that
// answers clicks is reached with Tab too, and Space or Enter clicks it.
class Label : public Control {
  public:
    explicit Label(QWidget* parent);
    QString Caption() const;
    void setCaption(const QString& caption);
    Colour ForeColor() const { return fore_; }
    void setForeColor(Colour colour);
    void setFont(const FontStyle& font);
    void setAlignment(Alignment alignment);
    void onClick(std::function<void()> handler);

  private:
    class Widget;
    Widget* label_;
    Colour fore_ = SystemColour::ButtonText;
};

// A command button. Graphical-style buttons paint their BackColor as one flat colour; the
// others show the platform's button face whatever BackColor holds. Space or Enter clicks the
// button that has the keyboard.
class CommandButton : public Control {
  public:
    CommandButton(QWidget* parent, bool graphical);
    QString Caption() const;
    void setCaption(const QString& caption);
    Colour BackColor() const { return back_; }
    void setBackColor(Colour colour);
    bool Graphical() const { return graphical_; }
    void setFont(const FontStyle& font);
    void onClick(std::function<void()> handler);
    void click();

  private:
    class Widget;
    Widget* button_;
    Colour back_ = SystemColour::ButtonFace;
    bool graphical_;
};

// A frame: a container with the platform's frame border, no caption and a background colour.
class Frame : public Control {
  public:
    explicit Frame(QWidget* parent);
    ~Frame() override;
    Colour BackColor() const { return back_; }
    void setBackColor(Colour colour);

    // Frames that stand one over another in the same place, one shown at a time (the sections
    // of a window), share that place: hiding one hides the controls it holds and leaves its
    // place on screen, so that showing another repaints only the controls that differ, and its
    // border, instead of the whole place. A hidden one paints nothing and lets the pointer
    // through; screen readers see it hidden.
    void sharePlace();
    bool SharesPlace() const { return sharesPlace_; }
    // Counts `control`, made inside this frame once it shares its place, as one it holds.
    void hold(Control& control);
    // Lays out and paints once, off screen, what this frame holds while it is hidden, so that
    // showing it the first time costs what it costs any other time (the styles, the fonts'
    // glyphs at the screen's scale, the layouts of its texts are then ready).
    void prepareWhatItHolds();

  protected:
    void showOrHide() override;
    bool showsWhatItHolds() const override { return !sharesPlace_ || visible_; }

  private:
    Colour back_ = SystemColour::ButtonFace;
    bool sharesPlace_ = false;
    std::vector<Control*> held_;
};

// A straight line between two points of its container, BorderWidth pixels thick.
class Line : public Control {
  public:
    explicit Line(QWidget* parent);
    double X1() const { return x1_; }
    double Y1() const { return y1_; }
    double X2() const { return x2_; }
    double Y2() const { return y2_; }
    void setEnds(double x1, double y1, double x2, double y2);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int pixels);
    Colour BorderColor() const { return colour_; }
    void setBorderColor(Colour colour);

  protected:
    void applyGeometry() override;

  private:
    class Widget;
    Widget* line_;
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    int borderWidth_ = 1;
    Colour colour_ = SystemColour::WindowText;
};

// A rounded rectangle outline.
class Shape : public Control {
  public:
    explicit Shape(QWidget* parent);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int pixels);

  private:
    class Widget;
    Widget* shape_;
    int borderWidth_ = 1;
};

// A single-column list of text lines. Adding a line costs the same whether the list holds ten
// lines or forty thousand (a one-column table without grid or headers: the view lays out only
// the rows it shows). The pupil selects one line with the mouse or the keyboard (arrows, page
// keys, typing the start of a line); once a line is selected, one stays selected.
class ListBox : public Control {
  public:
    explicit ListBox(QWidget* parent);
    void setFont(const FontStyle& font);
    void setColours(Colour back, Colour fore);
    Colour BackColor() const { return back_; }
    Colour ForeColor() const { return fore_; }
    int ListCount() const;
    QString List(int index) const;
    // Writes the entry at a position; a position at or beyond the end appends.
    void setList(int index, const QString& text);
    void AddItem(const QString& text);
    void RemoveItem(int index);
    void Clear();
    // The selected line, -1 when none is.
    int ListIndex() const;
    void setListIndex(int index);
    // Runs once each time a line becomes the selected one, however it was selected (the
    // program's setListIndex too), and on a click on the line already selected.
    void onClick(std::function<void()> handler);
    // Adds an entry to the list's context menu (right button or menu key), which runs `handler`
    // when chosen or when its key sequence is pressed within `scope`. The menu opens without
    // waiting for a choice.
    void addMenuEntry(const QString& caption, StandardKey key, ShortcutScope scope,
                      std::function<void()> handler);

  private:
    class Widget;
    Widget* list_;
    Colour back_ = SystemColour::WindowBackground;
    Colour fore_ = SystemColour::WindowText;
};

class OptionButton : public Control {
  public:
    explicit OptionButton(QWidget* parent);
    QString Caption() const;
    void setCaption(const QString& caption);
    bool Value() const;
    void setValue(bool value);
    Colour BackColor() const { return back_; }
    void setBackColor(Colour colour);
    Colour ForeColor() const { return fore_; }
    void setForeColor(Colour colour);
    void setFont(const FontStyle& font);
    void onClick(std::function<void()> handler);

  private:
    QRadioButton* option_;
    Colour back_ = SystemColour::ButtonFace;
    Colour fore_ = SystemColour::ButtonText;
};

}  // namespace rc
