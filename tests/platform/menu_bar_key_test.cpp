#include "platform/menu_bar_key.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

TEST(MenuBarKey, F10OpensTheFirstMenuAndAltWithALetterOpensItsMenu) {
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int opened; // index of the menu that opens
    } cases[] = {
        {"F10", Qt::Key_F10, Qt::NoModifier, 0},
        {"Alt+S", Qt::Key_S, Qt::AltModifier, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QMainWindow window;
        QMenu* menus[] = {window.menuBar()->addMenu("&File"), window.menuBar()->addMenu("&Set")};
        for (QMenu* menu : menus)
            menu->addAction("&Parameters");
        openMenuBarOnF10(window);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, c.key, c.modifiers);
        EXPECT_TRUE(QTest::qWaitFor([&] { return menus[c.opened]->isVisible(); }));
        EXPECT_FALSE(menus[1 - c.opened]->isVisible());
        menus[c.opened]->close();
    }
    QMainWindow bare;
    openMenuBarOnF10(bare);
    EXPECT_EQ(bare.menuWidget(), nullptr) << "no menu bar made where there was none";
}

} // namespace
} // namespace quarvel
