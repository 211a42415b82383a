// Remembered window rectangles brought back inside the screen.
#include "session/window_place.h"

#include <gtest/gtest.h>

namespace quarvel::testing {
namespace {

TEST(WindowPlaceTest, AWindowComesBackInsideTheAvailableArea) {
    const QRect screen(0, 30, 1280, 770); // below a 30-pixel panel
    const struct {
        const char* name;
        QRect window;
        QRect fitted;
    } cases[] = {
        {"inside stays", {100, 100, 400, 300}, {100, 100, 400, 300}},
        {"under the panel", {100, 0, 400, 300}, {100, 30, 400, 300}},
        {"off the right edge", {1100, 100, 400, 300}, {880, 100, 400, 300}},
        {"on a screen now gone", {-2000, -900, 400, 300}, {0, 30, 400, 300}},
        {"below the bottom", {100, 790, 400, 300}, {100, 500, 400, 300}},
        {"larger than the screen", {-10, 0, 1600, 1000}, {0, 30, 1280, 770}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fitInside(c.window, screen), c.fitted) << c.name;
    }
}

} // namespace
} // namespace quarvel::testing
