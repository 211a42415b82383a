// The Tie window's coefficient plots, headless: where the curve peaks, the
// marked point's line, gaps for shifts without a coefficient, and degenerate
// inputs drawn without failing.
#include "platform/canvas.h"
#include "plot/depth_varying_plot.h"
#include "plot/tie_plot.h"

#include <QColor>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace quarvel {
namespace {

constexpr int Width = 300;
constexpr int Height = 150;
constexpr QRgb Black = 0xff000000;
constexpr QRgb Grey = 0xffc0c0c0;
const double NaN = std::numeric_limits<double>::quiet_NaN();

QImage plot(const std::vector<double>& x, const std::vector<double>& r, std::size_t marked) {
    return renderCoefficientPlot(x, r, marked, QStringLiteral("r"), 2, Width, Height, layoutFont());
}

// The rows between the title band and the texts below, where the curve lies.
struct Band {
    int top;
    int bottom;
};
Band curveBand() {
    const int text = Canvas(1, 1).textHeight(QStringLiteral("0"));
    return {text + 6, Height - text - 6};
}

// The topmost black pixel of a column inside the curve band, or -1.
int topBlack(const QImage& image, int column) {
    const Band band = curveBand();
    for (int y = band.top; y <= band.bottom; ++y) {
        if (image.pixel(column, y) == Black) {
            return y;
        }
    }
    return -1;
}

TEST(CoefficientPlot, PeaksAtTheMarkedPointWithItsLine) {
    struct Case {
        double peakAt; // where the coefficient peaks, within -2 ... 2
        std::size_t marked;
    };
    for (const Case c : {Case{0.0, 20}, Case{-1.5, 5}, Case{1.0, 30}}) {
        SCOPED_TRACE(c.peakAt);
        std::vector<double> x;
        std::vector<double> r;
        for (int i = 0; i <= 40; ++i) {
            x.push_back(-2 + 0.1 * i);
            r.push_back(0.9 - 0.2 * (x.back() - c.peakAt) * (x.back() - c.peakAt));
        }
        const QImage image = plot(x, r, c.marked);
        // The highest point of the curve is at the marked shift's column.
        const int left = 4;
        const int right = Width - 5;
        const int peakColumn =
            left + static_cast<int>(std::lround((x[c.marked] + 2) / 4.0 * (right - left)));
        EXPECT_EQ(topBlack(image, peakColumn), curveBand().top);
        for (int column = left; column <= right; ++column) {
            // Half a unit from the peak the curve has dropped 0.05 of 0.8.
            if (std::abs(column - peakColumn) > (right - left) / 8) {
                EXPECT_GT(topBlack(image, column), curveBand().top) << column;
            }
        }
        // The marked point's line runs down to the bottom of the band.
        EXPECT_EQ(image.pixel(peakColumn, curveBand().bottom), Grey);
        EXPECT_EQ(image.pixel(0, 0), Black) << "framed";
    }
}

TEST(CoefficientPlot, PointsWithoutACoefficientLeaveAGap) {
    std::vector<double> x;
    std::vector<double> r;
    for (int i = 0; i <= 40; ++i) {
        x.push_back(i);
        r.push_back(i >= 15 && i <= 25 ? NaN : 0.5 + 0.01 * i);
    }
    const QImage image = plot(x, r, 40);
    const auto column = [](double v) {
        return 4 + static_cast<int>(std::lround(v / 40.0 * (Width - 9)));
    };
    for (int c = column(15) + 1; c < column(25); ++c) {
        EXPECT_EQ(topBlack(image, c), -1) << c;
    }
    EXPECT_NE(topBlack(image, column(10)), -1);
    EXPECT_NE(topBlack(image, column(30)), -1);
}

TEST(CoefficientPlot, DegenerateInputsDrawTheFrameAndTitleOnly) {
    const std::vector<std::vector<double>> coefficients = {{}, {NaN, NaN}, {0.5, 0.5, 0.5}};
    for (const std::vector<double>& r : coefficients) {
        SCOPED_TRACE(r.size());
        std::vector<double> x;
        for (std::size_t i = 0; i < r.size(); ++i) {
            x.push_back(static_cast<double>(i));
        }
        const QImage image = plot(x, r, 7);
        EXPECT_EQ(image.size(), QSize(Width, Height));
        EXPECT_EQ(image.pixel(Width - 1, Height - 1), Black);
        // A flat curve lies along the bottom of the band; none draws nothing.
        const int row = r.size() == 3 ? curveBand().bottom : -1;
        EXPECT_EQ(topBlack(image, Width / 2), row);
    }
}

// Each tie point runs from its bulk time on the first column to its trace
// time on the third, in the colour that says whether it was accepted.
TEST(DepthVaryingPlot, JoinsEachTieFromItsBulkTimeToItsTraceTime) {
    const TimedSeries flat{{0, 5, 10}, {1, 1, 1}}; // drawn down the columns' left edges
    const QImage image = renderDepthVaryingPlot(flat, flat, flat, {{2, 4, false}, {6, 6, true}},
                                                Width, Height, layoutFont());
    const Band band = curveBand();
    const auto row = [&](double ms) {
        return band.top + static_cast<int>(std::lround(ms / 10 * (band.bottom - band.top)));
    };
    const int column = (Width - 8) / 3;
    const int middle = 4 + column / 2;
    EXPECT_EQ(image.pixel(middle, row(2)), ProposedTieColor);
    EXPECT_EQ(image.pixel(middle + 2 * column, row(4)), ProposedTieColor);
    EXPECT_EQ(image.pixel(middle, row(6)), AcceptedTieColor);
    EXPECT_EQ(image.pixel(middle + 2 * column, row(6)), AcceptedTieColor);
    EXPECT_EQ(image.pixel(6 + column, row(5)), Black);
}

} // namespace
} // namespace quarvel
