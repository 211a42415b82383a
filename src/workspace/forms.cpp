#include "workspace/forms.h"

#include <QWidget>

namespace quarvel {

void Forms::add(FormId id, QWidget* window) {
    windows_.at(static_cast<std::size_t>(id)) = window;
}

QWidget* Forms::window(FormId id) const {
    return windows_.at(static_cast<std::size_t>(id));
}

void Forms::show(FormId id) const {
    window(id)->show();
}

void Forms::showAndRaise(FormId id) const {
    QWidget* shown = window(id);
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void Forms::close(FormId id) const {
    window(id)->close();
}

} // namespace quarvel
