#pragma once

#include <QImage>
#include <cstdint>

#include "controls/colour.h"

namespace rc {

// The pixels of a picture box: our own stand-in for the platform's drawing functions that
// the pictures rely on (read one pixel, flood fill a surface of one colour, copy a block).
// Coordinates are whole pixels, origin top left, y downwards. Drawings that write many pixels
// at a time (the sector wheels) go through rows() instead.
class Surface {
  public:
    static constexpr Colour Invalid = 0xFFFFFFFFu;  // what Point() answers outside the surface

    void resize(int width, int height, Colour fill);
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    void clear(Colour colour);
    Colour pixel(int x, int y) const;
    void setPixel(int x, int y, Colour colour);

    // Replaces the 4-connected region of pixels that have the colour `surface`, starting at
    // (x, y), with `fill`. Nothing happens when (x, y) lies outside or has another colour.
    // Returns the number of pixels changed.
    long long floodFillSurface(int x, int y, Colour surface, Colour fill);

    // Copies the rectangle of `w` x `h` pixels at (x, y) to (toX, toY). Answers false, copying
    // nothing, unless both rectangles lie wholly inside the surface and do not overlap.
    bool copyArea(int x, int y, int w, int h, int toX, int toY);

    const QImage& image() const { return image_; }
    // Changes with every write to the pixels (or a chance to write, as rows() gives).
    std::uint64_t generation() const { return generation_; }

    // The stored value of a colour's pixels, system colours resolved.
    static QRgb pixelOf(Colour colour);

    // Direct access to the pixels, one row at a time: rows[y] points at pixel (0, y) of a row
    // of width() pixels. Nothing is checked. Take it once per drawing (taking it may copy a
    // shared image) and drop it when the drawing is done; resizing the surface invalidates it.
    struct Rows {
        uchar* bits;
        qsizetype bytesPerLine;
        QRgb* operator[](int y) const { return reinterpret_cast<QRgb*>(bits + y * bytesPerLine); }
    };
    Rows rows() {
        ++generation_;
        return {image_.bits(), image_.bytesPerLine()};
    }

  private:
    QImage image_;
    std::uint64_t generation_ = 0;
};

}  // namespace rc
