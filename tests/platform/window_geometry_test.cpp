// Windows kept inside the screen, and their client sizes.
#include "platform/window_geometry.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

const QRect Screen(0, 30, 1280, 770); // below a 30-pixel panel

TEST(WindowGeometry, AWindowComesBackInsideTheAvailableArea) {
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
        EXPECT_EQ(fitInside(c.window, Screen), c.fitted) << c.name;
    }
}

// The frame counts: a window whose client area fits but whose frame would
// not is moved or shrunk by the frame's size.
TEST(WindowGeometry, TheWholeFrameIsKeptInside) {
    const QRect wide(0, 0, 1600, 870); // 1600 wide, a 30-pixel panel at the foot
    const struct {
        const char* name;
        QRect available;
        WindowPlace wanted;
        bool placed;
        WindowPlace kept;
    } cases[] = {
        {"inside stays", Screen, {{100, 100}, {400, 300}}, true, {{100, 100}, {400, 300}}},
        {"frame at the edge", Screen, {{872, 100}, {400, 300}}, true, {{872, 100}, {400, 300}}},
        {"frame over the edge", Screen, {{873, 100}, {400, 300}}, true, {{872, 100}, {400, 300}}},
        {"final plot, 1600 wide", wide, {{900, 74}, {765, 622}}, true, {{827, 74}, {765, 622}}},
        {"caption under the panel", Screen, {{100, 10}, {400, 300}}, true, {{100, 30}, {400, 300}}},
        {"taller than the screen", Screen, {{100, 100}, {400, 800}}, true, {{100, 30}, {400, 743}}},
        {"not placed: keeps its corner", Screen, {{0, 0}, {400, 300}}, false, {{0, 0}, {400, 300}}},
        {"not placed: only shrinks", Screen, {{0, 0}, {1300, 800}}, false, {{0, 0}, {1272, 743}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(placeInside(c.wanted, LayoutFrame, c.available, c.placed), c.kept) << c.name;
    }
}

TEST(WindowGeometry, AWindowLaidOutByItsOuterSizeHasTheClientAreaItsLayoutLeaves) {
    // The data editor is given both: 320 x 708 outer, 312 x 662 inside.
    EXPECT_EQ(layoutClientSize({320, 708}), QSize(312, 662));
    EXPECT_EQ(layoutClientSize({387, 605}), QSize(379, 559));
    EXPECT_EQ(layoutClientSize({773, 646}), QSize(765, 600));
}

} // namespace
} // namespace quarvel
