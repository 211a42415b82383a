// The windows' client areas, and every window shown inside the screen.
#include "chirp/chirp_form.h"
#include "editor/tables_form.h"
#include "platform/window_geometry.h"
#include "plot/final_table_form.h"
#include "support/app_fixture.h"

#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using testing::AppFixture;

class WindowSizes : public AppFixture {};

// The sizes the windows are laid out with are those of the area below the
// menu bar, not of the window with its frame.
TEST_F(WindowSizes, EachWindowHasItsClientAreaBelowTheMenuBar) {
    const struct {
        QMainWindow* window;
        QSize client;
    } cases[] = {
        {forms().Chirp_Form, {379, 559}},
        {forms().FinalTableForm, {765, 600}},
        {forms().Tables_Form, {312, 662}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window->objectName().toStdString());
        c.window->show();
        const int menu = c.window->menuBar()->height();
        EXPECT_EQ(c.window->centralWidget()->y(), menu);
        EXPECT_EQ(QSize(c.window->width(), c.window->height() - menu), c.client);
    }
    // The data editor's pages get everything below its top panel.
    const QWidget* central = forms().Tables_Form->centralWidget();
    const auto* top = child<QFrame>(central, "Panel1");
    const auto* pages = child<QTabWidget>(central, "PageControl1");
    EXPECT_EQ(pages->geometry(), QRect(0, top->height(), 312, 662 - top->height()));
    EXPECT_EQ(top->height(), 33);
}

TEST_F(WindowSizes, AWindowLeftBeyondTheScreenIsShownInsideIt) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget* plot = forms().FinalTableForm;
    plot->move(available.right() - 100, available.top() + 40);
    windows->services().forms.showAndRaise(FormId::FinalTableForm);
    const QRect outer(plot->pos(), plot->size().grownBy(LayoutFrame));
    EXPECT_TRUE(available.contains(outer))
        << "available " << available.width() << " x " << available.height() << ", window at "
        << outer.x() << ", " << outer.y() << ", " << outer.width() << " x " << outer.height();
    EXPECT_EQ(outer.right(), available.right()) << "moved only as far as needed";
}

} // namespace
} // namespace quarvel
