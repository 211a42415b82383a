#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "platform/canvas.h"
#include "plot/render_test_helpers.h"
#include "plot/series_panel.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace quarvel {
namespace {

using Columns = std::vector<int>;

SeriesData seriesOf(const std::string& text) {
    std::istringstream in(text);
    return readSeries(in);
}

struct ReadCase {
    const char* name;
    std::string text;
    std::vector<double> time;
    std::vector<double> amplitude;
};

TEST(ReadSeries, PairsPerLineWithTheRestOfTheLineSkipped) {
    const ReadCase cases[] = {
        {"blank line at the end adds no sample", "0.1 5\r\n0.2 -3\r\n\r\n", {0.1, 0.2}, {5, -3}},
        {"blanks after the last line", "0.1 5\r\n0.2 -3\r\n \t \r\n\r\n", {0.1, 0.2}, {5, -3}},
        {"no final line break", "0.1 5\r\n0.2 -3", {0.1, 0.2}, {5, -3}},
        {"blank line between samples", "0.1 5\r\n\r\n0.2 -3\r\n", {0.1, 0.2}, {5, -3}},
        {"rest of the line skipped", "0.1 5 9 9\r\n0.2 -3 x\r\n", {0.1, 0.2}, {5, -3}},
        {"single number pairs with the next line",
         "0.1 5\r\n0.2\r\n7 8 9\r\n0.4 1\r\n",
         {0.1, 0.2, 0.4},
         {5, 7, 1}},
        {"single number at the very end", "0.1 5\r\n0.3\r\n", {0.1, 0.3}, {5, 0}},
        {"tabs and exponents", "1.5E-3\t-2.5e+1\n", {0.0015}, {-25}},
        {"words read as zero", "t a\r\n", {0}, {0}},
        {"empty file", "", {}, {}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SeriesData s = seriesOf(c.text);
        ASSERT_EQ(s.time.size(), c.time.size());
        for (std::size_t i = 0; i < c.time.size(); ++i) {
            EXPECT_DOUBLE_EQ(s.time[i], c.time[i]);
            EXPECT_DOUBLE_EQ(s.amplitude[i], c.amplitude[i]);
        }
        EXPECT_FALSE(s.truncated);
    }
}

TEST(ReadSeries, RunningTimeBoundsStartFromZeroAndOneHundredThousand) {
    const struct {
        std::string text;
        double max, min;
    } cases[] = {
        {"5 1\r\n2 1\r\n9 1\r\n", 9, 2},
        {"-5 1\r\n-2 1\r\n", 0, -5},
        {"200000 1\r\n300000 1\r\n", 300000, 100000},
        {"", 0, 100000},
    };
    for (const auto& c : cases) {
        const SeriesData s = seriesOf(c.text);
        EXPECT_DOUBLE_EQ(s.runningTimeMax, c.max) << c.text;
        EXPECT_DOUBLE_EQ(s.runningTimeMin, c.min) << c.text;
    }
}

TEST(ReadSeries, StopsAtCapacityAndSaysSoAndSurvivesGarbage) {
    std::string text;
    for (int i = 1; i <= SeriesCapacity + 1; ++i) {
        text += numbers::formatInteger(i) + " 1\r\n";
    }
    const SeriesData full = seriesOf(text);
    EXPECT_EQ(full.count(), SeriesCapacity);
    EXPECT_TRUE(full.truncated);
    EXPECT_DOUBLE_EQ(full.time.back(), SeriesCapacity);

    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        const char c = static_cast<char>((i * 131) % 256);
        garbage += (c >= '0' && c <= '9') ? '\xff' : c;
    }
    const SeriesData junk = seriesOf(garbage);
    EXPECT_FALSE(junk.truncated);
    EXPECT_GT(junk.count(), 0);
    const SeriesExtents e = seriesExtents(junk);
    EXPECT_EQ(e.ampMin, 0.0);
    EXPECT_EQ(e.ampMax, 0.0);
}

TEST(SeriesExtents, FirstAndLastInFileOrderAmplitudeRange) {
    const SeriesExtents e = seriesExtents(seriesOf("0.3 2\r\n0.1 -4\r\n0.2 7\r\n0.05 1\r\n"));
    EXPECT_DOUBLE_EQ(e.timeFirst, 0.3);
    EXPECT_DOUBLE_EQ(e.timeLast, 0.05);
    EXPECT_DOUBLE_EQ(e.ampMin, -4);
    EXPECT_DOUBLE_EQ(e.ampMax, 7);
    const SeriesExtents empty = seriesExtents(seriesOf("\r\n"));
    EXPECT_EQ(empty.timeFirst, 0.0);
    EXPECT_EQ(empty.timeLast, 0.0);
    EXPECT_EQ(empty.ampMin, 0.0);
    EXPECT_EQ(empty.ampMax, 0.0);
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
