#include "formats/quarvel_error.h"
#include "plot/final_plot_source.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace quarvel {
namespace {

constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr QRgb PhotoColor = 0xffc08040;
constexpr int H = 300;

// A photograph with the synthetic and the trace drawn (both empty: a frame
// and a title) and the axes' defaults.
FinalPlotSource drawnCore(int photoWidth) {
    FinalPlotSource source;
    source.photograph = QImage(photoWidth, H, QImage::Format_RGB32);
    source.photograph.fill(PhotoColor);
    source.chosen = {.photo = true, .synthetic = true, .trace = true};
    source.drawn = {.photo = true, .synthetic = true, .trace = true};
    source.traceExtents = {0.0, 3.0, -1.0, 1.0};
    source.topText = std::string("0");
    source.bottomText = std::string("1000");
    source.yminText = std::string("0");
    source.ymaxText = std::string("300");
    source.markFreqText = std::string("200");
    source.labelFreqText = std::string("200");
    source.traceTimeMaxMs = 3000.0;
    return source;
}

// The photograph at x = 50, the synthetic at 210 and the trace at 470, each
// from y = 50: a mark shows on the panels it lies on, at the photograph's
// row or the trace's, and nowhere else.
TEST(FinalPlotSource, MarksShowOnTheirOwnPanelsOverTheDocumentsPictures) {
    FinalPlotSource source = drawnCore(103);
    source.marks = {{100, "0.5000", {.photo = true, .synthetic = true}, std::nullopt, 0},
                    {120, "0.6000", {.trace = true}, 1.5, 150}};
    const QImage plot = composeFinalPlot(source).image;
    const struct {
        int x;
        int y;
        QRgb colour;
    } pixels[] = {
        {51, 150, Black},       {151, 150, Black}, {50, 150, PhotoColor}, {100, 149, PhotoColor},
        {100, 170, PhotoColor}, {359, 150, Black}, {359, 170, White},     {619, 200, Black},
        {619, 150, White},      {619, 170, White},
    };
    for (const auto& p : pixels) {
        EXPECT_EQ(plot.pixel(p.x, p.y), p.colour) << p.x << ", " << p.y;
    }
    // The labels take the plot's font: a tall one reaches rows below the
    // default's label, which stay white.
    const auto blackBelowLabel = [&](const QImage& image) {
        int black = 0;
        for (int y = 150 + 16; y < 150 + 40; ++y)
            for (int x = 212; x < 350; ++x)
                black += image.pixel(x, y) == Black;
        return black;
    };
    EXPECT_EQ(blackBelowLabel(plot), 0);
    source.font.setPixelSize(40);
    EXPECT_GT(blackBelowLabel(composeFinalPlot(source).image), 0);
}

TEST(FinalPlotSource, TheCorePanelShowsTheChosenColumnsAndAPanelNeedsItsDrawing) {
    FinalPlotSource wide = drawnCore(400);
    wide.chosen = {.photo = true};
    wide.coreColumns = coreColumns(100, 299, 400, CorePanelWidth);
    const QImage plot = composeFinalPlot(wide).image;
    EXPECT_EQ(plot.pixel(50 + 102, 60), PhotoColor);
    EXPECT_EQ(plot.pixel(50 + 103, 60), White);

    FinalPlotSource undrawn = drawnCore(103);
    undrawn.drawn.trace = false;
    try {
        composeFinalPlot(undrawn);
        ADD_FAILURE() << "composed without the trace";
    } catch (const QuarvelError& e) {
        EXPECT_STREQ(e.what(), "Nothing has been drawn in the \"Trace\" panel yet.");
    }
}

// Traces from 3 on, three columns each, trace 4 the core's; nothing
// recorded above row 100 and full strength below.
SectionExcerpt excerpt(int traces) {
    SectionExcerpt excerpt;
    SegySection& section = excerpt.section;
    section.width = 3 * traces;
    section.height = H;
    section.lastTimeMs = 3;
    for (int c = 0; c < section.width; ++c) {
        section.columns.push_back({3 + c / 3});
    }
    section.values.assign(static_cast<std::size_t>(section.width) * H, 1.0f);
    std::fill_n(section.values.begin(), section.width * 100,
                std::numeric_limits<float>::quiet_NaN());
    excerpt.style.chosenTrace = 4;
    excerpt.style.seaFloor = false;
    return excerpt;
}

// The tied synthetic takes the synthetic panel (x = 210) on the trace's time
// scale, with the trace's marks; the excerpt's rows are the panels' rows,
// right of the trace's depth labels, and the plot widens where it would not
// fit.
TEST(FinalPlotSource, TheOptionsDrawTheTiedSyntheticAndTheSectionOnTheTracesRows) {
    const struct {
        const char* name;
        std::function<void(FinalPlotSource&)> set;
        int width;
        std::vector<std::pair<QPoint, QRgb>> pixels;
    } cases[] = {
        {"tied synthetic",
         [](FinalPlotSource& s) {
             // A step from 0 to 1 at 1.5 ms: half way down the trace's 3 ms.
             s.tiedSynthetic = TiedSynthetic{{{0, 1.5, 1.5, 3}, {0, 0, 1, 1}}, "Synthetic, tied"};
             s.marks = {{120, "0.6000", {.synthetic = true}, 2.4, 240}};
         },
         1000,
         {{{210 + 75, 50 + 150}, Black},
          {{210 + 75, 50 + 149}, White},
          {{210 + 149, 50 + 240}, Black},
          {{210 + 149, 50 + 120}, White}}},
        {"section beside the trace",
         [](FinalPlotSource& s) { s.section = excerpt(3); },
         1000,
         {{{680 + 56, 50 + 99}, SectionNoData},
          {{680 + 56, 50 + 100}, Black},
          {{680 + 56 + 2, 50 + 200}, SectionChosen},
          {{680 + 56 + 6, 50 + 200}, SectionChosen}}},
        {"section wider than the room left",
         [](FinalPlotSource& s) { s.section = excerpt(100); },
         680 + 56 + 300 + 10 + 10,
         {{{680 + 56 + 299, 50 + 100}, Black}}},
    };
    for (const auto& c : cases) {
        FinalPlotSource source = drawnCore(103);
        c.set(source);
        const QImage plot = composeFinalPlot(source).image;
        EXPECT_EQ(plot.width(), c.width) << c.name;
        for (const auto& [at, colour] : c.pixels) {
            EXPECT_EQ(plot.pixel(at), colour) << c.name << " at " << at.x() << ", " << at.y();
        }
    }
}

} // namespace
} // namespace quarvel
