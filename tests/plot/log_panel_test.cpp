#include "formats/quarvel_error.h"
#include "platform/canvas.h"
#include "plot/log_panel.h"
#include "plot/render_test_helpers.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace quarvel {
namespace {

using Columns = std::vector<int>;

constexpr int W = 151;
constexpr int H = 600;

struct PolylineCase {
    const char* name;
    LogPanelKind kind;
    std::vector<LogRecord> records;
    int minBound, maxBound;
    double top, bottom;
    std::vector<std::pair<int, Columns>> rows; // row -> black columns
};

// Bounds 1400..1551 over 151 columns and depths 0..600 over 600 rows: one
// unit per pixel, so the points are easy to work out by hand.
TEST(RenderLogPanel, PolylineRowsAndColumnsFollowTheScales) {
    const std::vector<LogRecord> log = {{100, 1450, 1.5}, {300, 1500, 1.4375}, {600, 1420, 1.5}};
    const PolylineCase cases[] = {
        // Points (50,100), (100,300), (20,600); the first segment starts at
        // the corner (0,0).
        {"velocity",
         LogPanelKind::Velocity,
         log,
         1400,
         1551,
         0,
         600,
         {{50, {0, 25, W - 1}}, {200, {0, 75, W - 1}}, {450, {0, 60, W - 1}}}},
        // Density x 1000: points (100,100), (37,300), (100,600).
        {"density",
         LogPanelKind::Density,
         log,
         1400,
         1551,
         0,
         600,
         {{50, {0, 50, W - 1}}, {200, {0, 68, W - 1}}, {450, {0, 69, W - 1}}}},
        // Row 0 is depth 0: a log from 100 m to 400 m spreads 300 m over 600
        // rows, so 100 m is row 200 and 400 m row 800, below the bottom edge.
        {"log starting below zero depth",
         LogPanelKind::Velocity,
         {{100, 1450, 1}, {400, 1450, 1}},
         1400,
         1551,
         100,
         400,
         {{100, {0, 25, W - 1}}, {300, {0, 50, W - 1}}}},
        // A zero range draws no curve.
        {"equal bounds", LogPanelKind::Velocity, log, 1500, 1500, 0, 600, {{200, {0, W - 1}}}},
        {"zero depth range", LogPanelKind::Velocity, log, 1400, 1551, 5, 5, {{200, {0, W - 1}}}},
        {"no records", LogPanelKind::Density, {}, 100000, 1, 0, 0, {{200, {0, W - 1}}}},
    };
    for (const PolylineCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image =
            renderLogPanel({c.kind, c.records, c.minBound, c.maxBound, c.top, c.bottom}, W, H,
                           Canvas::defaultFont());
        ASSERT_EQ(image.size(), QSize(W, H));
        EXPECT_EQ(blackColumns(image, H - 1).size(), static_cast<std::size_t>(W));
        for (const auto& [row, columns] : c.rows) {
            EXPECT_EQ(blackColumns(image, row), columns) << "row " << row;
        }
    }
}

// What a label alone looks like at a place on a white panel.
QImage labelAt(int x, int y, const QString& text) {
    Canvas canvas(W, H);
    canvas.textOut(x, y, text);
    return canvas.image();
}

TEST(RenderLogPanel, TitleAndBoundLabelsStandAtTheirPlaces) {
    const std::vector<LogRecord> log = {{10, 1480, 1.5}, {20, 1623.7, 2.25}};
    const struct {
        LogPanelKind kind;
        int min, max;
        QString title, minText, maxText;
    } cases[] = {
        {LogPanelKind::Velocity, 1480, 1623, "PWave-Vel", "1480", "1623"},
        {LogPanelKind::Density, 1500, 2250, "Density", "1500", "2250"},
        {LogPanelKind::Velocity, 10000, 0, "PWave-Vel", "10000", "0"},
    };
    Canvas metrics(W, H);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title.toStdString() + " " + c.minText.toStdString());
        const QImage image =
            renderLogPanel({c.kind, log, c.min, c.max, 10, 20}, W, H, Canvas::defaultFont());
        const int h = metrics.textHeight(c.maxText);
        const int maxWidth = metrics.textWidth(c.maxText);
        const QRect minRect(1, 1, metrics.textWidth(c.minText), h);
        const QRect maxRect(W - maxWidth, 1, maxWidth, h);
        const QRect titleRect(5, 15, metrics.textWidth(c.title), metrics.textHeight(c.title));
        EXPECT_TRUE(sameRegion(image, labelAt(1, 1, c.minText), minRect));
        EXPECT_TRUE(sameRegion(image, labelAt(W - maxWidth, 1, c.maxText), maxRect));
        EXPECT_TRUE(sameRegion(image, labelAt(5, 15, c.title), titleRect));
        // Flush right: the label's background covers the right frame line
        // (its top row holds no ink of the digits).
        EXPECT_EQ(image.pixel(W - 1, 1), 0xffffffffu);
        EXPECT_EQ(image.pixel(W - 1, 1 + h + 40), 0xff000000u);
        EXPECT_EQ(image.pixel(0, 1 + h / 2), 0xff000000u);
    }
}

TEST(RenderLogPanel, PanelWithoutSizeIsADivisionByZero) {
    for (const QSize size : {QSize(0, 600), QSize(151, 0)}) {
        EXPECT_THROW(renderLogPanel({LogPanelKind::Velocity, {}, 1400, 1600, 0, 0}, size.width(),
                                    size.height(), Canvas::defaultFont()),
                     QuarvelError);
    }
}

} // namespace
} // namespace quarvel
