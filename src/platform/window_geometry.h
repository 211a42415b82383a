#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QMainWindow;
class QWidget;

namespace quarvel {

// The window rectangle moved (and, when larger, shrunk) so that it lies
// wholly inside the available screen area: a window placed beyond the right
// edge of a smaller screen, saved on a screen that is gone or at a higher
// resolution, comes back where it can be seen.
QRect fitInside(const QRect& window, const QRect& available);

// Where a window goes: the top-left corner of its frame and the size of its
// client area.
struct WindowPlace {
    QPoint frameTopLeft;
    QSize clientSize;

    bool operator==(const WindowPlace&) const = default;
};

// The place that keeps the whole window, frame included, inside the
// available area. A window not yet placed (the window manager will place
// it) keeps its position and only gives up size.
WindowPlace placeInside(const WindowPlace& wanted, const QMargins& frame, const QRect& available,
                        bool placed);

// The frame the windows' outer sizes are laid out with: a 4-pixel border,
// a 19-pixel caption and a 19-pixel menu bar. The windows are sized by the
// client area this leaves, so the pages are the same height whatever frame
// the window manager draws.
inline constexpr QMargins LayoutFrame(4, 23, 4, 4);
inline constexpr int LayoutMenuHeight = 19;

// The area below the menu bar of a window with a menu laid out at that
// outer size.
constexpr QSize layoutClientSize(const QSize& outer) {
    return {outer.width() - LayoutFrame.left() - LayoutFrame.right(),
            outer.height() - LayoutFrame.top() - LayoutFrame.bottom() - LayoutMenuHeight};
}

// Sizes the window so that the area below its menu bar, status bar
// included, is the given size.
void setClientSize(QMainWindow& window, const QSize& client);

// Keeps the window inside the available area of its screen, with the frame
// it has or, before it has one, the frame the layouts assume.
void keepInsideScreen(QWidget& window);

// Puts the window at the place (frame top-left, client size), kept inside
// the available area of the screen the place lies on.
void placeInsideScreen(QWidget& window, const QRect& place);

} // namespace quarvel
