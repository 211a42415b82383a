#pragma once

#include "platform/canvas.h"

#include <QWidget>
#include <optional>

namespace quarvel {

// The image component of the windows: it holds one picture (a Canvas, with
// its own pen, brush and font, so marks can be drawn straight into it), has a
// fixed width and a height that others set, and reports the mouse. Mouse
// tracking is on, so moves arrive without a pressed button.
class ImagePanel : public QWidget {
    Q_OBJECT
public:
    ImagePanel(const QString& objectName, int width, int height, QWidget* parent = nullptr);

    int panelWidth() const { return width(); }
    int panelHeight() const { return height(); }
    void setPanelHeight(int height);
    void setPanelSize(int width, int height);

    bool hasPicture() const { return picture_.has_value(); }
    // Installs a copy of the image as the picture, with fresh default
    // attributes (black pen in copy mode, white brush, default font).
    void setPicture(const QImage& image);
    void clearPicture();
    // The picture to draw marks into; call update() afterwards to show them.
    // Precondition: hasPicture().
    Canvas& picture();
    const Canvas& picture() const;

signals:
    // Every press, the second press of a double click included, is
    // mousePressed (that one with secondOfDoubleClick set); a double click
    // is reported by doubleClicked after it.
    void mouseMoved(int x, int y);
    void mousePressed(int x, int y, Qt::MouseButton button, bool secondOfDoubleClick);
    // A press with Shift held, after mousePressed.
    void shiftPressed(int x, int y);
    void mouseReleased(int x, int y, Qt::MouseButton button);
    void doubleClicked(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::optional<Canvas> picture_;
};

} // namespace quarvel
