#include "app/window_places.h"

#include "platform/window_geometry.h"

#include <QSettings>

namespace quarvel {

namespace {

QString placeKey(const QWidget* window) {
    return QStringLiteral("windows/") + window->objectName();
}

} // namespace

void restoreWindowPlaces(const std::vector<QWidget*>& windows) {
    const QSettings settings(QStringLiteral("Quarvel"), QStringLiteral("quarvel"));
    for (QWidget* window : windows) {
        const QRect saved = settings.value(placeKey(window)).toRect();
        if (!saved.isValid()) {
            continue;
        }
        placeInsideScreen(*window, saved);
    }
}

void saveWindowPlaces(const std::vector<QWidget*>& windows) {
    QSettings settings(QStringLiteral("Quarvel"), QStringLiteral("quarvel"));
    for (const QWidget* window : windows) {
        settings.setValue(placeKey(window), QRect(window->pos(), window->size()));
    }
}

} // namespace quarvel
