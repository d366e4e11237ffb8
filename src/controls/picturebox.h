#pragma once

#include <functional>

#include "controls/control.h"
#include "controls/surface.h"

namespace rc {

// A picture box with a persistent image. Its pixels are the screen's own device pixels (on a
// display scaled 2x the image has twice the pixels each way), so drawings stay crisp; pointer
// positions are handed to the handler in those pixels.
class PictureBox : public Control {
  public:
    explicit PictureBox(QWidget* parent);

    Colour BackColor() const { return back_; }
    void setBackColor(Colour colour);
    Colour ForeColor() const { return fore_; }
    void setForeColor(Colour colour);
    bool AutoRedraw() const { return autoRedraw_; }
    void setAutoRedraw(bool on) { autoRedraw_ = on; }
    Colour FillColor() const { return fillColour_; }
    void setFillColor(Colour colour) { fillColour_ = colour; }

    // The drawable area inside the border, in pixels.
    int ScaleWidth() const { return surface_.width(); }
    int ScaleHeight() const { return surface_.height(); }

    // Clears the picture to its background colour.
    void Cls();
    // The colour of one pixel (GetPixel); Surface::Invalid outside the picture.
    Colour Point(int x, int y) const { return surface_.pixel(x, y); }
    // Fills, with FillColor, the region of the given colour that contains (x, y)
    // (ExtFloodFill with FLOODFILLSURFACE).
    void ExtFloodFill(int x, int y, Colour surfaceColour);

    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }
    // Shows what has been drawn on the surface.
    void refresh();
    // A drawing need not be done again while the picture still holds it: `keep(what)` records
    // that the picture now shows the drawing that `what` names in full, and `holds(what)`
    // answers whether it does still, nothing drawn since.
    void keep(const QString& what);
    bool holds(const QString& what) const;

    // Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; X, Y in pixels.
    using MouseDownHandler = std::function<void(int button, int shift, double x, double y)>;
    void onMouseDown(MouseDownHandler handler);
    // Delivers a mouse press as the pointer would, at a position in pixels of the picture.
    void mouseDownAt(int button, int shift, double x, double y);

    // The width of the border around the drawable area, in logical pixels.
    static constexpr int border = 2;

  protected:
    void applyGeometry() override;

  private:
    class Widget;
    Widget* picture_;
    Surface surface_;
    Colour back_ = SystemColour::ButtonFace;
    Colour fore_ = SystemColour::WindowText;
    Colour fillColour_ = RGB(0, 0, 0);
    bool autoRedraw_ = false;
    MouseDownHandler mouseDown_;
    QString kept_;
    std::uint64_t keptAt_ = 0;
    friend class Widget;
};

}  // namespace rc
