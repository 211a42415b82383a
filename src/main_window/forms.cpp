#include "main_window/forms.h"

#include "platform/window_geometry.h"

#include <QWidget>

namespace quarvel {

void Forms::add(FormId id, QWidget* window) {
    windows_.at(static_cast<std::size_t>(id)) = window;
}

QWidget* Forms::window(FormId id) const {
    return windows_.at(static_cast<std::size_t>(id));
}

namespace {

// A window comes up wholly on the screen, whatever screen it was laid out or
// last left on. Once on screen, where it is counts as its place: a dialog
// would otherwise centre itself again at every showing, away from where it
// was left or dragged to.
void showInPlace(QWidget& window) {
    keepInsideScreen(window);
    window.show();
    window.setAttribute(Qt::WA_Moved);
}

} // namespace

void Forms::show(FormId id) const {
    showInPlace(*window(id));
}

void Forms::showAndRaise(FormId id) const {
    QWidget* shown = window(id);
    showInPlace(*shown);
    shown->raise();
    shown->activateWindow();
}

void Forms::close(FormId id) const {
    window(id)->close();
}

} // namespace quarvel
