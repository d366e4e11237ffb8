#pragma once

#include <QWidget>
#include <functional>

#include "controls/catalogue.h"

namespace rc {

// A top-level window: its controls, a background colour, a caption, a client size in twips and
// an unload hook run when it is closed.
class Form : public QWidget {
  public:
    Form(const QString& name, std::span<const Row> rows, Qt::WindowFlags flags = {});

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

    // Runs when the window is closed (Form_Unload).
    std::function<void()> onUnload;

  protected:
    void closeEvent(QCloseEvent* event) override;
    // The frame around the client area (title bar and borders), in pixels; while the window
    // has not been shown yet, the frame of the desktop's other windows.
    virtual QMargins frameMargins() const;

  private:
    Controls controls_;
    Colour back_ = SystemColour::ButtonFace;
};

}  // namespace rc
