#include "workspace/forms.h"

#include "platform/window_geometry.h"

#include <QWidget>

namespace quarvel {

void Forms::add(FormId id, QWidget* window) {
    windows_.at(static_cast<std::size_t>(id)) = window;
}

QWidget* Forms::window(FormId id) const {
    return windows_.at(static_cast<std::size_t>(id));
}

// A window comes up wholly on the screen, whatever screen it was laid out
// or last left on.
void Forms::show(FormId id) const {
    QWidget* shown = window(id);
    keepInsideScreen(*shown);
    shown->show();
}

void Forms::showAndRaise(FormId id) const {
    QWidget* shown = window(id);
    keepInsideScreen(*shown);
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void Forms::close(FormId id) const {
    window(id)->close();
}

} // namespace quarvel
