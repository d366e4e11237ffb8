#pragma once

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "controls/colour.h"

namespace rc {

struct FontStyle {
    const char* face = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
};
QFont toQFont(const FontStyle& font);
// Fonts with the metrics of the faces the windows were designed with.
void installFontSubstitutes();

// The mouse buttons held or pressed as the handlers are told them: 1 left, 2 right, 4 middle;
// and the keys held: 1 Shift, 2 Ctrl, 4 Alt.
int mouseButtonCode(Qt::MouseButtons buttons);
int shiftKeyCode(Qt::KeyboardModifiers keys);

// What every control has: a place in its container in twips, visibility, enabled state and a
// place in its container's stacking order. The Qt widget behind it stays inside this layer.
class Control {
  public:
    explicit Control(QWidget* widget);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    QWidget* widget() const { return widget_; }
    QString name() const;

    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top, double width, double height);

    bool Visible() const { return visible_; }
    void setVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // Brings the control to the front of its container's stacking order.
    void ZOrder();

    // What a screen reader calls the control: `name` when it has one; otherwise a control
    // with a caption is called by its caption, "X" and ":" said in words ("2 X 3" is "2 por
    // 3", "X 3" is "Multiplicar por 3", ": 2" is "Dividir entre 2"), and `blank` while the
    // caption shows no number yet ("" or "?").
    void setSpokenNames(const QString& name, const QString& blank);
    // Says in words what the control shows or does, for screen readers; Qt tells them of the
    // change.
    void setDescription(const QString& text);
    // The tip shown when the pointer rests on the control.
    void setToolTipText(const QString& text);
    // Gives the control the keyboard, as Tab would (it shows the keyboard's rectangle).
    void SetFocus();

  protected:
    virtual void applyGeometry();
    // Puts the widget on screen or takes it off: shown when the control is visible and its
    // holder lets what it holds show.
    virtual void showOrHide();
    // False while a frame that shares its place with others is hidden (see Frame).
    virtual bool showsWhatItHolds() const { return true; }
    // Names the control after a caption it has just been given (see setSpokenNames).
    void nameAfter(const QString& caption);

    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;

  private:
    friend class Frame;
    const Control* holder_ = nullptr;  // the frame it stands in, where that frame keeps count
    QPointer<QWidget> widget_;
    QString name_, blank_;
};

}  // namespace rc
