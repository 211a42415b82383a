#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace quarvel {

// The font of the windows and pictures: "MS Sans Serif" at 11 pixels, the
// widths every window layout and the final plot's label positions are
// measured in, drawn with Liberation Sans, whose widths match that family's
// (wider families clip captions and cover the final plot's ticks). The first
// call maps the family to Liberation Sans.
QFont layoutFont();

// The drawing surface the panels and plots are drawn on: a QImage
// (Format_RGB32) with a pen, a brush and a font as its drawing state.
// Lines are rasterised here, not by QPainter, so every pixel is known:
// lineTo draws from the pen position to the target excluding the target
// pixel, and leaves the pen at the target.
class Canvas {
public:
    enum class PenMode {
        Copy,   // the pixel takes the pen colour
        NotXor, // the pixel becomes NOT (pen XOR pixel); with a black pen this inverts it
    };

    // A white width x height surface with the default attributes.
    Canvas(int width, int height);
    // A surface over a copy of the image (converted to Format_RGB32).
    explicit Canvas(const QImage& image);

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    const QImage& image() const { return image_; }

    // Back to the attributes of a new canvas: black solid pen 1 pixel wide in
    // copy mode, solid white brush, the default font (layoutFont()).
    void resetAttributes();
    static QFont defaultFont();

    void setPenColor(QRgb color) { penColor_ = color; }
    QRgb penColor() const { return penColor_; }
    void setPenMode(PenMode mode) { penMode_ = mode; }
    PenMode penMode() const { return penMode_; }
    void setBrushColor(QRgb color) { brushColor_ = color; }
    QRgb brushColor() const { return brushColor_; }
    void setFont(const QFont& font) { font_ = font; }
    const QFont& font() const { return font_; }

    void moveTo(int x, int y) { pen_ = QPoint(x, y); }
    QPoint penPos() const { return pen_; }
    // Line from the pen position to (x, y), end point excluded; pixels off the
    // surface are clipped. The pen moves to (x, y).
    void lineTo(int x, int y);

    // Outline (x1, y1)-(x2 - 1, y2 - 1) with the pen, inside filled with the
    // brush.
    void rectangle(int x1, int y1, int x2, int y2);
    // Fills the rectangle (right and bottom edges excluded) with the brush.
    void fillRect(const QRect& rect);

    // Text with its top-left corner at (x, y) in the current font, black, on
    // an opaque background of the brush colour.
    void textOut(int x, int y, const QString& text);
    int textWidth(const QString& text) const;
    int textHeight(const QString& text) const;

    // Colour of a pixel (0 outside the surface).
    QRgb pixel(int x, int y) const;
    void setPixel(int x, int y, QRgb color);

    // Draws the image unscaled with its top-left corner at (x, y), clipped.
    void draw(int x, int y, const QImage& source);
    // Copies the source rectangle of an image into the destination rectangle
    // of this surface, unscaled when the sizes agree.
    void copyRect(const QRect& destination, const QImage& source, const QRect& sourceRect);

    // Resizes the surface to width x height, filled white; the attributes stay.
    void resize(int width, int height);

private:
    void plot(int x, int y);

    QImage image_;
    QPoint pen_{0, 0};
    QRgb penColor_ = 0xff000000;
    PenMode penMode_ = PenMode::Copy;
    QRgb brushColor_ = 0xffffffff;
    QFont font_;
};

} // namespace quarvel
