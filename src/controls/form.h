#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "controls/catalogue.h"

namespace rc {

// The border a window has.
enum class BorderStyle {
    Sizable,      // the desktop's frame with a title bar
    FixedSingle,  // no title bar, a single dark line drawn around the client area
};

// The keys a window's key handler is told of; any other key is not.
namespace KeyCode {
inline constexpr int Back = 8, Return = 13, Escape = 27, Delete = 46;
inline constexpr int Digit0 = 48;                // the main row's 0 to 9: 48 to 57
inline constexpr int Numpad0 = 96;               // the keypad's 0 to 9: 96 to 105
inline constexpr int Add = 107, Subtract = 109;  // the keypad's + and -
}  // namespace KeyCode

// A top-level window: its controls, a background colour, a caption, a client size in twips and
// an unload hook run when it is closed.
class Form : public QWidget {
  public:
    // A window of its own, or (with an `owner`) a small tool window kept above its owner while
    // the pupil uses it: the desktop stacks every message box and every window shown later
    // above it, and it goes with its owner. Tab goes through its controls in reading order
    // (orderTabsByPosition).
    Form(const QString& name, std::span<const Row> rows, BorderStyle border = BorderStyle::Sizable,
         Form* owner = nullptr);

    Controls& controls() { return controls_; }
    const Controls& controls() const { return controls_; }

    Colour BackColor() const { return back_; }
    void setBackColor(Colour colour);
    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }
    void setClientSize(double widthTwips, double heightTwips);

    // The outer rectangle, frame included, in twips of the screen.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void moveTo(double leftTwips, double topTwips);
    // Until this window is first shown the desktop has not framed it yet: its outer size is
    // then its client area plus the frame that `shown` has.
    void assumeFrameOf(const Form& shown);

    // Shows the window modeless and brings it to the front, with the keyboard. Escape in an
    // owned window gives the keyboard back to the window that had it before.
    void Show();
    // Hides the window; it keeps its place for the next Show.
    void Hide() { hide(); }
    // Closing the window destroys it, controls and all (the window is unloaded).
    void setUnloadOnClose(bool on) { setAttribute(Qt::WA_DeleteOnClose, on); }

    // Runs when the window is closed (Form_Unload).
    std::function<void()> onUnload;
    // Runs once, as soon as the window has first been painted: work that can wait until the
    // pupil sees the window.
    std::function<void()> afterFirstPaint;

    // The pointer moving over the window's own background (not over its controls; lines and
    // shapes are background): Button is the mouse buttons held (1 left, 2 right, 4 middle, 0
    // none), X and Y in twips of the client area. While a button is held the moves keep
    // coming, wherever the pointer goes, if the button went down on the background.
    using MouseMoveHandler = std::function<void(int button, int shift, double x, double y)>;
    void onMouseMove(MouseMoveHandler handler);

    // A key pressed while the window has the keyboard, before the control that has it sees
    // the key (KeyCode above; Shift as the mouse handler's). A handler that returns true takes
    // the key: the control never sees it.
    using KeyDownHandler = std::function<bool(int keyCode, int shift)>;
    void onKeyDown(KeyDownHandler handler);
    // Gives the keyboard to the control after `control` in reading order (as Tab would).
    void focusAfter(const Control& control);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The frame around the client area (title bar and borders), in pixels.
    QMargins frameMargins() const;
    bool onBackground(QPoint point) const;

    Controls controls_;
    Colour back_ = SystemColour::ButtonFace;
    BorderStyle border_;
    bool owned_;
    QPointer<QWidget> keyboardBefore_;  // the window Escape goes back to
    QMargins assumedFrame_;
    MouseMoveHandler mouseMove_;
    KeyDownHandler keyDown_;
    bool pressedOnBackground_ = false;
};

// A window that is loaded on first use and may be unloaded again, by the program or by the
// pupil closing it; the slot then reads as empty.
template <class F>
class FormSlot {
  public:
    F* get() const { return window_.data(); }
    bool loaded() const { return !window_.isNull(); }
    template <class... Args>
    F& load(Args&&... args) {
        if (!window_) window_ = new F(std::forward<Args>(args)...);
        return *window_;
    }
    void unload() { delete window_.data(); }

  private:
    QPointer<F> window_;
};

}  // namespace rc
