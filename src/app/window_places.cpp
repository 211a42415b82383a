#include "app/window_places.h"

#include "session/window_place.h"

#include <QGuiApplication>
#include <QScreen>
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
        const QScreen* screen = QGuiApplication::screenAt(saved.center());
        if (screen == nullptr) {
            screen = QGuiApplication::primaryScreen();
        }
        if (screen == nullptr) {
            return;
        }
        const QRect place = fitInside(saved, screen->availableGeometry());
        window->move(place.topLeft());
        window->resize(place.size());
    }
}

void saveWindowPlaces(const std::vector<QWidget*>& windows) {
    QSettings settings(QStringLiteral("Quarvel"), QStringLiteral("quarvel"));
    for (const QWidget* window : windows) {
        settings.setValue(placeKey(window), QRect(window->pos(), window->size()));
    }
}

} // namespace quarvel
