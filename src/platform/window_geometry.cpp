#include "platform/window_geometry.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace quarvel {

QRect fitInside(const QRect& window, const QRect& available) {
    const int width = std::min(window.width(), available.width());
    const int height = std::min(window.height(), available.height());
    const int left = std::clamp(window.left(), available.left(), available.right() - width + 1);
    const int top = std::clamp(window.top(), available.top(), available.bottom() - height + 1);
    return {left, top, width, height};
}

WindowPlace placeInside(const WindowPlace& wanted, const QMargins& frame, const QRect& available,
                        bool placed) {
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QPoint from = placed ? wanted.frameTopLeft : available.topLeft();
    const QRect fitted = fitInside(QRect(from, wanted.clientSize + frameSize), available);
    return {placed ? fitted.topLeft() : wanted.frameTopLeft, fitted.size() - frameSize};
}

void setClientSize(QMainWindow& window, const QSize& client) {
    // Qt counts the menu bar into the window's size; the layout does not.
    window.resize(client.width(), client.height() + window.menuBar()->sizeHint().height());
}

namespace {

QMargins frameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    if (frame == client) {
        return LayoutFrame;
    }
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

const QScreen* screenAround(const QWidget& window, const QRect& place) {
    if (const QScreen* under = QGuiApplication::screenAt(place.center())) {
        return under;
    }
    if (const QScreen* own = window.screen()) {
        return own;
    }
    return QGuiApplication::primaryScreen();
}

// The place kept inside the screen; the window moves only where it must.
void keepPlaceInside(QWidget& window, const QRect& place, bool placed) {
    const QScreen* screen = screenAround(window, place);
    if (screen == nullptr) {
        return;
    }
    const WindowPlace wanted{place.topLeft(), place.size()};
    const WindowPlace kept =
        placeInside(wanted, frameOf(window), screen->availableGeometry(), placed);
    // Moving a window the window manager has yet to place would pin it.
    if (kept.frameTopLeft != window.pos()) {
        window.move(kept.frameTopLeft);
    }
    if (kept.clientSize != window.size()) {
        window.resize(kept.clientSize);
    }
}

} // namespace

void placeInsideScreen(QWidget& window, const QRect& place) {
    keepPlaceInside(window, place, true);
}

void keepInsideScreen(QWidget& window) {
    keepPlaceInside(window, QRect(window.pos(), window.size()), window.testAttribute(Qt::WA_Moved));
}

} // namespace quarvel
