#include "formats/quarvel_error.h"
#include "platform/canvas.h"
#include "plot/final_plot.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace quarvel {
namespace {

constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr int H = 600;

QImage filled(int width, QRgb color) {
    QImage image(width, H, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

const QRgb PhotoColor = 0xffc08040;
const QRgb SynthColor = 0xff20a020;
const QRgb PwaveColor = 0xff2020a0;
const QRgb DensityColor = 0xffa02020;
const QRgb TraceColor = 0xff808080;

// A loaded core with every panel drawn; only the photograph is checked.
FinalPlotInputs loadedCore() {
    FinalPlotInputs in;
    in.coreHeight = H;
    in.photo = {true, filled(103, PhotoColor)};
    in.synthetic = {false, filled(151, SynthColor)};
    in.pwave = {false, filled(151, PwaveColor)};
    in.density = {false, filled(151, DensityColor)};
    in.trace = {false, filled(151, TraceColor)};
    in.topText = "0";
    in.bottomText = "1000";
    in.yminText = "0";
    in.ymaxText = "600";
    in.markFreqText = "200";
    in.labelFreqText = "200";
    in.traceTimeMinMs = 0.0;
    in.traceTimeMaxMs = 1000.0;
    in.meanVelocity = 1500.0;
    in.imageFileName = "/home/user/cores/core1.bmp";
    return in;
}

// True when the text, written as the plot writes it, stands at (x, y). With
// a tick, the tick's line from (tickX, y) five pixels to the left is drawn
// over the text, as the plot draws it.
bool showsText(const QImage& plot, int x, int y, const QString& text,
               std::optional<int> tickX = std::nullopt) {
    Canvas reference(1, 1);
    const int width = reference.textWidth(text);
    const int height = reference.textHeight(text);
    reference.resize(width, height);
    reference.textOut(0, 0, text);
    if (tickX) {
        reference.moveTo(*tickX - x, 0);
        reference.lineTo(*tickX - x - 5, 0);
    }
    return plot.copy(x, y, width, height) == reference.image();
}

bool columnIsBlack(const QImage& plot, int x, int fromY, int toY) {
    const Canvas canvas(plot);
    for (int y = fromY; y < toY; ++y) {
        if (canvas.pixel(x, y) != Black) {
            return false;
        }
    }
    return true;
}

std::vector<int> rows(const std::vector<FinalPlotTick>& ticks) {
    std::vector<int> result;
    for (const FinalPlotTick& t : ticks) {
        result.push_back(t.y);
    }
    return result;
}

std::vector<QString> labels(const std::vector<FinalPlotTick>& ticks) {
    std::vector<QString> result;
    for (const FinalPlotTick& t : ticks) {
        if (!t.label.isEmpty()) {
            result.push_back(t.label);
        }
    }
    return result;
}

TEST(FinalPlot, PlacesTheCheckedPanelsLeftToRight) {
    struct Case {
        const char* name;
        std::function<void(FinalPlotInputs&)> check;
        std::vector<int> panelX;
        std::vector<QRgb> colors;
        std::optional<int> axisX;
    };
    const Case cases[] = {
        {"photo only", [](FinalPlotInputs&) {}, {50}, {PhotoColor}, std::nullopt},
        {"photo and trace",
         [](FinalPlotInputs& in) { in.trace.checked = true; },
         {50, 310},
         {PhotoColor, TraceColor},
         310},
        {"all five",
         [](FinalPlotInputs& in) {
             in.synthetic.checked = in.pwave.checked = in.density.checked = true;
             in.trace.checked = true;
         },
         {50, 210, 370, 530, 790},
         {PhotoColor, SynthColor, PwaveColor, DensityColor, TraceColor},
         790},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FinalPlotInputs in = loadedCore();
        c.check(in);
        const FinalPlot plot = composeFinalPlot(in);
        EXPECT_EQ(plot.image.size(), QSize(1000, H + 100));
        EXPECT_EQ(plot.panelX, c.panelX);
        EXPECT_EQ(plot.axisX, c.axisX);
        const Canvas canvas(plot.image);
        for (std::size_t i = 0; i < c.panelX.size(); ++i) {
            EXPECT_EQ(canvas.pixel(c.panelX[i] + 60, 50), c.colors[i]);
            EXPECT_EQ(canvas.pixel(c.panelX[i] + 60, H + 49), c.colors[i]);
            EXPECT_EQ(canvas.pixel(c.panelX[i] + 60, H + 50), White);
        }
        // Labels are written over the axes on a white ground; between the
        // first two ticks the lines show.
        EXPECT_TRUE(columnIsBlack(plot.image, 45, 70, 170));
        if (c.axisX) {
            EXPECT_TRUE(columnIsBlack(plot.image, *c.axisX - 5, 70, 170));
            EXPECT_TRUE(showsText(plot.image, *c.axisX, 25, "mean vel.: 1500.000"));
        } else {
            EXPECT_TRUE(plot.timeTicks.empty());
            for (int x = 150; x < 1000; ++x) { // no "mean vel." text anywhere
                EXPECT_EQ(canvas.pixel(x, 30), White) << x;
            }
        }
    }
}

TEST(FinalPlot, DepthAxisMapsTopAndBottomToThePhotograph) {
    struct Case {
        const char* top;
        const char* bottom;
        const char* mark;
        const char* label;
        std::vector<int> rows;
        std::vector<QString> labels;
    };
    const Case cases[] = {
        {"0",
         "1000",
         "200",
         "200",
         {50, 170, 290, 410, 530, 650},
         {"0", "200", "400", "600", "800", "1000"}},
        {"1000",
         "2000",
         "200",
         "200",
         {50, 170, 290, 410, 530, 650},
         {"1000", "1200", "1400", "1600", "1800", "2000"}},
        // Whole-number prefixes: 12.5 counts as 12, text as 0.
        {" 0.9", "1000.7mm", "1000", "1000", {50, 650}, {"0", "1000"}},
        {"abc", "1000", "-500", "200", {50, 350, 650}, {"0", "1000"}},
        // Labels thinned to multiples of the label frequency.
        {"0",
         "1000",
         "100",
         "200",
         {50, 110, 170, 230, 290, 350, 410, 470, 530, 590, 650},
         {"0", "200", "400", "600", "800", "1000"}},
        // Label frequency 0 labels every mark.
        {"-150", "150", "100", "0", {150, 350, 550}, {"-100", "0", "100"}},
        // Bottom above Top, or no multiple in range: the line only.
        {"1000", "0", "200", "200", {}, {}},
        {"150", "150", "200", "200", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.top) + " " + c.bottom + " " + c.mark + " " + c.label);
        FinalPlotInputs in = loadedCore();
        in.topText = c.top;
        in.bottomText = c.bottom;
        in.markFreqText = c.mark;
        in.labelFreqText = c.label;
        const FinalPlot plot = composeFinalPlot(in);
        EXPECT_EQ(rows(plot.depthTicks), c.rows);
        EXPECT_EQ(labels(plot.depthTicks), c.labels);
        const Canvas canvas(plot.image);
        for (const FinalPlotTick& t : plot.depthTicks) {
            for (int x = 41; x <= 45; ++x)
                EXPECT_EQ(canvas.pixel(x, t.y), Black) << x << ", " << t.y;
            if (!t.label.isEmpty()) {
                EXPECT_TRUE(showsText(plot.image, 20, t.y, t.label, 45)) << t.y;
            }
        }
        EXPECT_TRUE(columnIsBlack(plot.image, 45, 50, 50 + H));
        EXPECT_EQ(canvas.pixel(41, 80), White);
    }
}

TEST(FinalPlot, DepthAxisPutsTopAndBottomOnTheBoundaryRows) {
    struct Case {
        const char* ymin;
        const char* ymax;
        std::vector<int> rows;
        std::vector<QString> labels;
    };
    // Top 0 and Bottom 1000 with a tick every 200 mm.
    const Case cases[] = {
        {"0", "300", {50, 110, 170, 230, 290, 350}, {"0", "200", "400", "600", "800", "1000"}},
        {"100", "500", {150, 230, 310, 390, 470, 550}, {"0", "200", "400", "600", "800", "1000"}},
        // The core reaches beyond the photograph: its ticks there are not drawn.
        {"-300", "300", {110, 230, 350}, {"600", "800", "1000"}},
        {"0", "1200", {50, 290, 530}, {"0", "200", "400"}},
        // A photograph upside down: depths grow upwards.
        {"600", "0", {650, 530, 410, 290, 170, 50}, {"0", "200", "400", "600", "800", "1000"}},
        {"900", "1200", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ymin) + " " + c.ymax);
        FinalPlotInputs in = loadedCore();
        in.yminText = c.ymin;
        in.ymaxText = c.ymax;
        const FinalPlot plot = composeFinalPlot(in);
        EXPECT_EQ(rows(plot.depthTicks), c.rows);
        EXPECT_EQ(labels(plot.depthTicks), c.labels);
        for (const FinalPlotTick& t : plot.depthTicks) {
            EXPECT_TRUE(showsText(plot.image, 20, t.y, t.label, 45)) << t.y;
        }
        EXPECT_TRUE(columnIsBlack(plot.image, 45, 50, 50 + H));
    }
    // Rows far beyond the photograph cost no walk: one tick per visible row.
    FinalPlotInputs in = loadedCore();
    in.yminText = "-2147483648";
    in.ymaxText = "2147483647";
    in.topText = "-2147483647";
    in.bottomText = "2147483647";
    in.markFreqText = "1";
    in.labelFreqText = "0";
    const FinalPlot plot = composeFinalPlot(in);
    ASSERT_EQ(plot.depthTicks.size(), static_cast<std::size_t>(H + 1));
    EXPECT_EQ(plot.depthTicks.front().label, "1"); // row 0 is 2^31 rows below Y min
    EXPECT_EQ(plot.depthTicks.back().y, 50 + H);
}

TEST(FinalPlot, TimeAxisCountsFromTheEarliestSample) {
    struct Case {
        double minMs;
        double maxMs;
        double meanVelocity;
        const char* mark;
        std::vector<int> rows;
        std::vector<QString> labels;
        std::vector<QString> depths;
        const char* meanText;
    };
    const Case cases[] = {
        {12.0,
         112.0,
         1500.0,
         "20",
         {50, 170, 290, 410, 530, 650},
         {"0.000", "0.020", "0.040", "0.060", "0.080", "0.100"},
         {"(0.000)", "(0.015)", "(0.030)", "(0.045)", "(0.060)", "(0.075)"},
         "mean vel.: 1500.000"},
        {0.0,
         1000.7,
         0.0,
         "500",
         {50, 350, 650},
         {"0.000", "0.500", "1.000"},
         {"(0.000)", "(0.000)", "(0.000)"},
         "mean vel.: 0.000"},
        // An empty trace: a negative span, the line and the text only.
        {5.0, 0.0, 1612.25, "200", {}, {}, {}, "mean vel.: 1612.250"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meanText);
        FinalPlotInputs in = loadedCore();
        in.trace.checked = true;
        in.traceTimeMinMs = c.minMs;
        in.traceTimeMaxMs = c.maxMs;
        in.meanVelocity = c.meanVelocity;
        in.markFreqText = c.mark;
        in.labelFreqText = c.mark;
        const FinalPlot plot = composeFinalPlot(in);
        ASSERT_EQ(plot.axisX, 310);
        EXPECT_EQ(rows(plot.timeTicks), c.rows);
        EXPECT_EQ(labels(plot.timeTicks), c.labels);
        std::vector<QString> depths;
        const Canvas canvas(plot.image);
        for (const FinalPlotTick& t : plot.timeTicks) {
            depths.push_back(t.depthLabel);
            EXPECT_TRUE(showsText(plot.image, 310 - 35, t.y, t.label, 305));
            for (int x = 301; x <= 305; ++x)
                EXPECT_EQ(canvas.pixel(x, t.y), Black) << x << ", " << t.y;
            EXPECT_TRUE(showsText(plot.image, 310 + 155, t.y, t.depthLabel));
        }
        EXPECT_EQ(depths, c.depths);
        EXPECT_TRUE(showsText(plot.image, 310, 25, c.meanText));
        EXPECT_TRUE(columnIsBlack(plot.image, 305, 50, 50 + H));
    }
}

TEST(FinalPlot, DenseMarksCostAtMostOneTickPerRow) {
    FinalPlotInputs in = loadedCore();
    in.topText = "0";
    in.bottomText = "100000";
    in.markFreqText = "1";
    in.labelFreqText = "200";
    const FinalPlot dense = composeFinalPlot(in);
    ASSERT_EQ(dense.depthTicks.size(), static_cast<std::size_t>(H + 1));
    for (std::size_t i = 0; i < dense.depthTicks.size(); ++i) {
        EXPECT_EQ(dense.depthTicks[i].y, 50 + static_cast<int>(i));
    }
    // Every multiple of 200 keeps its label: they lie more than a row apart.
    const std::vector<QString> labelled = labels(dense.depthTicks);
    ASSERT_EQ(labelled.size(), 501u);
    EXPECT_EQ(labelled[1], "200");
    EXPECT_EQ(labelled.back(), "100000");

    in.topText = "-2000000000";
    in.bottomText = "2000000000";
    in.labelFreqText = "0";
    in.trace.checked = true;
    in.traceTimeMaxMs = 2.0e9;
    const FinalPlot huge = composeFinalPlot(in);
    EXPECT_EQ(huge.depthTicks.size(), static_cast<std::size_t>(H + 1));
    EXPECT_EQ(huge.depthTicks.front().label, "-2000000000");
    EXPECT_EQ(huge.depthTicks.back().label, "2000000000");
    EXPECT_EQ(huge.timeTicks.size(), static_cast<std::size_t>(H + 1));
}

TEST(FinalPlot, FailuresStopWithTheProgramsMessage) {
    const std::string divisionByZero(msg::DivisionByZero);
    struct Case {
        const char* name;
        std::function<void(FinalPlotInputs&)> change;
        std::string message;
    };
    const Case cases[] = {
        {"mark frequency 0", [](FinalPlotInputs& in) { in.markFreqText = "0"; }, divisionByZero},
        {"Bottom equal to Top", [](FinalPlotInputs& in) { in.topText = in.bottomText = "400"; },
         divisionByZero},
        {"zero trace span",
         [](FinalPlotInputs& in) {
             in.trace.checked = true;
             in.traceTimeMinMs = in.traceTimeMaxMs = 12.0;
         },
         divisionByZero},
        {"mark frequency 0 with no depth tick",
         [](FinalPlotInputs& in) {
             in.markFreqText = "0";
             in.topText = "10";
             in.bottomText = "0";
             in.trace.checked = true;
         },
         divisionByZero},
        {"trace without picture",
         [](FinalPlotInputs& in) {
             in.trace = {true, std::nullopt};
         },
         "Nothing has been drawn in the \"Trace\" panel yet."},
        {"mark not a whole number", [](FinalPlotInputs& in) { in.markFreqText = "2x0"; },
         "'2x0' is not a valid integer value"},
        {"label not a whole number", [](FinalPlotInputs& in) { in.labelFreqText = "1.5"; },
         "'1.5' is not a valid integer value"},
        {"Y max not a whole number", [](FinalPlotInputs& in) { in.ymaxText = "560px"; },
         "'560px' is not a valid integer value"},
        {"Y min equal to Y max", [](FinalPlotInputs& in) { in.yminText = in.ymaxText = "300"; },
         divisionByZero},
        {"trace span beyond any count",
         [](FinalPlotInputs& in) {
             in.trace.checked = true;
             in.traceTimeMaxMs = 1e300;
         },
         std::string(msg::InvalidOperation)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FinalPlotInputs in = loadedCore();
        c.change(in);
        try {
            composeFinalPlot(in);
            ADD_FAILURE() << "composed without complaint";
        } catch (const QuarvelError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
    // An unchecked panel without a picture is no matter.
    FinalPlotInputs in = loadedCore();
    in.density = {false, std::nullopt};
    EXPECT_NO_THROW(composeFinalPlot(in));
}

} // namespace
} // namespace quarvel
