#include "support/app_fixture.h"

#include "main_window/main_form.h"

#include <QTest>

namespace quarvel::testing {

AppFixture::AppFixture()
    : windows(std::make_unique<AppWindows>(dialogs, errors, WorkDir::fromEnvironment())) {}

AppFixture::~AppFixture() {
    // The windows go first: they refer to the dialogs and the reporter.
    windows.reset();
}

void AppFixture::showMainWindow() {
    windows->showMainWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&mainForm()));
}

} // namespace quarvel::testing
