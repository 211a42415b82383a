#include "plot/core_columns.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

TEST(CoreColumns, WhichPhotographsAreSqueezedAndWhichColumns) {
    struct Case {
        int xmin;
        int xmax;
        int imageWidth;
        bool squeezed;
        CoreColumns columns;
    };
    // A panel of 103 columns.
    const Case cases[] = {
        {300, 505, 790, true, {300, 206, 103}},
        {10, 109, 206, false, {10, 100, 103}}, // exactly twice the panel: as it is
        {10, 109, 207, true, {10, 100, 103}},
        {-50, 99, 790, true, {0, 100, 103}}, // cut to the photograph
        {700, 5000, 790, true, {700, 90, 103}},
        {400, 300, 790, true, {0, 790, 103}}, // no column: the whole width
        {800, 900, 790, true, {0, 790, 103}},
        {-9, -1, 790, true, {0, 790, 103}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.xmin) + ".." + std::to_string(c.xmax) + " of " +
                     std::to_string(c.imageWidth));
        EXPECT_EQ(squeezesCore(c.imageWidth, 103), c.squeezed);
        EXPECT_EQ(coreColumns(c.xmin, c.xmax, c.imageWidth, 103), c.columns);
    }
}

TEST(CoreColumns, EachPanelColumnIsTheMeanOfTheImageColumnsItCovers) {
    // Column c of the photograph has red c and blue 255 - c; rows differ in green.
    QImage photo(12, 3, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x, 10 * y, 255 - x));

    const struct {
        CoreColumns columns;
        std::vector<int> reds; // per panel column, rounded half up
        std::vector<int> blues;
        std::vector<int> imageColumns;
    } cases[] = {
        {{2, 9, 3}, {3, 6, 9}, {252, 249, 246}, {2, 5, 8}}, // columns 2-4, 5-7, 8-10
        {{0, 12, 5}, {1, 3, 5, 8, 10}, {255, 253, 250, 248, 245}, {0, 2, 4, 7, 9}},
        {{4, 2, 4}, {4, 4, 5, 5}, {251, 251, 250, 250}, {4, 4, 5, 5}}, // stretched
    };
    for (const auto& c : cases) {
        const QImage squeezed = squeezeColumns(photo, c.columns);
        ASSERT_EQ(squeezed.size(), QSize(c.columns.panelWidth, 3));
        for (int x = 0; x < c.columns.panelWidth; ++x) {
            const auto i = static_cast<std::size_t>(x);
            EXPECT_EQ(squeezed.pixel(x, 2), qRgb(c.reds[i], 20, c.blues[i])) << x;
            EXPECT_EQ(c.columns.imageColumn(x), c.imageColumns[i]) << x;
        }
        EXPECT_EQ(c.columns.imageColumn(-5), c.imageColumns.front()) << "clamped to the panel";
    }
}

} // namespace
} // namespace quarvel
