#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "platform/canvas.h"
#include "plot/render_test_helpers.h"
#include "plot/series_panel.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

using Columns = std::vector<int>;

SeriesData seriesOf(const std::string& text) {
    return readListing(text, {}).series;
}

constexpr int W = 151;
constexpr int H = 600;

// Amplitude 0..151 over 151 columns and time 0..600 over 600 rows: one unit
// per pixel. Points (0, 0), (151, 300) - the largest amplitude, one column
// beyond the last - and (75, 600).
const char* const ThreeSamples = "0 0\r\n300 151\r\n600 75.5\r\n";

QImage render(const std::string& text, const QString& title) {
    const SeriesData s = seriesOf(text);
    return renderSeriesPanel(s, seriesExtents(s), title, W, H, Canvas::defaultFont());
}

TEST(RenderSeriesPanel, FrameAndPolylineFromTheCorner) {
    const QImage image = render(ThreeSamples, QString());
    ASSERT_EQ(image.size(), QSize(W, H));
    for (int y = 0; y < H; ++y) {
        ASSERT_EQ(image.pixel(0, y), 0xff000000u) << y;
        ASSERT_EQ(image.pixel(W - 1, y), 0xff000000u) << y;
    }
    EXPECT_EQ(blackColumns(image, 0).size(), static_cast<std::size_t>(W));
    EXPECT_EQ(blackColumns(image, H - 1).size(), static_cast<std::size_t>(W));
    // Rows of the first segment (0,0)-(151,300): x = round(y * 151 / 300).
    EXPECT_EQ(blackColumns(image, 10), (Columns{0, 5, W - 1}));
    EXPECT_EQ(blackColumns(image, 100), (Columns{0, 50, W - 1}));
    // The largest amplitude lies at x = 151, clipped: only the frame.
    EXPECT_EQ(blackColumns(image, 300), (Columns{0, W - 1}));
    // Second segment (151,300)-(75,600): x = 151 - round(k * 76 / 300).
    EXPECT_EQ(blackColumns(image, 450), (Columns{0, 113, W - 1}));
    EXPECT_EQ(blackColumns(image, 598), (Columns{0, 76, W - 1}));
    EXPECT_EQ(image.pixel(60, 200), 0xffffffffu);
}

TEST(RenderSeriesPanel, TitleOnOpaqueWhiteCoversTheCurve) {
    const QImage curveOnly = render(ThreeSamples, QString());
    // The first segment passes through the title's corner.
    ASSERT_EQ(curveOnly.pixel(5, 10), 0xff000000u);

    const QString title = QStringLiteral("Synthetic");
    const QImage titled = render(ThreeSamples, title);
    // Frame and title drawn by hand: what an empty series shows.
    Canvas expected(W, H);
    expected.rectangle(0, 0, W, H);
    expected.textOut(5, 5, title);
    const QRect titleRect(5, 5, expected.textWidth(title), expected.textHeight(title));
    EXPECT_TRUE(sameRegion(titled, expected.image(), titleRect));
    EXPECT_EQ(titled.pixel(50, 100), 0xff000000u);
    EXPECT_EQ(render("", title), expected.image());
}

TEST(RenderSeriesPanel, ZeroSpanIsADivisionByZero) {
    const char* const cases[] = {
        "0.1 5\r\n",                   // a single sample
        "0.1 5\r\n0.2 5\r\n0.3 5\r\n", // all amplitudes equal
        "0.1 5\r\n0.2 6\r\n0.1 7\r\n", // first time equals last time
    };
    for (const char* text : cases) {
        try {
            render(text, QStringLiteral("Seismic Trace"));
            ADD_FAILURE() << "no error for " << text;
        } catch (const QuarvelError& e) {
            EXPECT_STREQ(e.what(), "Floating point division by zero") << text;
        }
    }
}

} // namespace
} // namespace quarvel
