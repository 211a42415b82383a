#include "platform/menu_bar_key.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>

namespace quarvel {

void openMenuBarOnF10(QMainWindow& window) {
    auto* bar = qobject_cast<QMenuBar*>(window.menuWidget());
    if (bar == nullptr) {
        return;
    }
    auto* key = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    key->setObjectName(QStringLiteral("MenuBarKey"));
    QObject::connect(key, &QShortcut::activated, bar, [bar] {
        const QList<QAction*> menus = bar->actions();
        if (!menus.isEmpty()) {
            bar->setActiveAction(menus.constFirst());
        }
    });
}

} // namespace quarvel
