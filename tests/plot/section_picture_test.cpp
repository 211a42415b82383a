#include "formats/png_file.h"
#include "formats/quarvel_error.h"
#include "platform/canvas.h"
#include "plot/section_picture.h"
#include "tie/tied_synthetic.h"

#include <QByteArray>
#include <QImage>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

// 200 columns (traces 1 to 200, 5 m apart) by 100 rows over 0 to 10 ms,
// amplitude growing down the rows, the sea floor at row 30.
SegySection rampSection() {
    SegySection section;
    section.width = 200;
    section.height = 100;
    section.lastTimeMs = 10;
    for (int c = 0; c < section.width; ++c) {
        section.columns.push_back({.trace = c, .distance = 5.0 * c, .seaFloorRow = 30});
    }
    for (int r = 0; r < section.height; ++r) {
        section.values.insert(section.values.end(), 200, static_cast<float>(r));
    }
    return section;
}

bool isBlack(const QImage& image, int x, int y) {
    return image.pixel(x, y) == 0xff000000;
}

TEST(SectionPicture, SectionInsideAFrameWithTicksAtRoundValues) {
    const SegySection section = rampSection();
    SectionStyle style;
    style.chosenTrace = 99;
    const std::vector<std::uint32_t> pixels = sectionPixels(section, style);
    for (const SectionAcross across : {SectionAcross::TraceNumber, SectionAcross::Distance}) {
        const QImage image = renderSectionPicture(section, style, across, Canvas::defaultFont());
        ASSERT_EQ(image.size(),
                  QSize(SectionLeft + 200 + SectionRight, SectionTop + 100 + SectionBottom));
        for (const auto& [c, r] : {std::pair{0, 0}, {98, 50}, {100, 30}, {199, 99}}) {
            EXPECT_EQ(image.pixel(SectionLeft + c, SectionTop + r),
                      pixels[static_cast<std::size_t>(r) * 200 + c])
                << c << ", " << r;
        }
        EXPECT_TRUE(isBlack(image, SectionLeft - 1, SectionTop + 37));
        EXPECT_TRUE(isBlack(image, SectionLeft + 200, SectionTop + 37));
        // 0.1 ms a row: ticks every 5 ms, at rows 0, 50 and 100.
        for (const int row : {0, 50, 100}) {
            EXPECT_TRUE(isBlack(image, SectionLeft - 3, SectionTop + row)) << row;
        }
        EXPECT_FALSE(isBlack(image, SectionLeft - 3, SectionTop + 25));
        // Traces 1 to 200: ticks every 100, at the columns of traces 100
        // and 200; distances 0 to 995 m: every 500 m, at columns 0 and 100.
        const std::vector<int> ticked = across == SectionAcross::TraceNumber
                                            ? std::vector<int>{99, 199}
                                            : std::vector<int>{0, 100};
        for (const int column : ticked) {
            EXPECT_TRUE(isBlack(image, SectionLeft + column, SectionTop + 100 + 3)) << column;
        }
        EXPECT_FALSE(isBlack(image, SectionLeft + 50, SectionTop + 100 + 3));
    }
}

// The synthetic's inset: a white strip framed in black from the chosen
// trace's sea floor down its span, the wiggle in blue.
TEST(SectionPicture, SyntheticInsetStartsAtTheChosenTracesSeaFloor) {
    const SegySection section = rampSection(); // 0.1 ms a row, sea floor at row 30
    SeriesData synthetic;
    synthetic.time = {0, 0.001, 0.002, 0.003}; // seconds: rows 30 to 60
    synthetic.amplitude = {0, 1, -1, 0};
    const QImage plain =
        renderSectionPicture(section, {}, SectionAcross::TraceNumber, Canvas::defaultFont());
    struct Case {
        const char* name;
        int chosen;
        SeriesData synthetic;
        bool drawn;
    };
    const std::vector<Case> cases = {
        {"at trace 100", 99, synthetic, true},
        {"no chosen trace", -1, synthetic, false},
        {"chosen trace out of view", 500, synthetic, false},
        {"one sample", 99, SeriesData{{0}, {1}}, false},
    };
    const int centre = SectionLeft + 99;
    const int top = SectionTop + 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = plain;
        drawSectionInset(image, section, c.chosen, c.synthetic, std::nullopt);
        if (!c.drawn) {
            EXPECT_EQ(image, plain);
            continue;
        }
        EXPECT_TRUE(isBlack(image, centre - SectionInsetHalfWidth, top + 15));
        EXPECT_TRUE(isBlack(image, centre + SectionInsetHalfWidth, top + 15));
        EXPECT_TRUE(isBlack(image, centre + 5, top));
        EXPECT_EQ(image.pixel(centre - SectionInsetHalfWidth + 1, top + 25), 0xffffffffU);
        // Amplitude 1 at row 40 lies 14 pixels right of the centre, -1 at
        // row 50 14 pixels left; the wiggle ends above the strip's bottom.
        EXPECT_EQ(image.pixel(centre + 14, top + 10), 0xff0000c0U);
        EXPECT_EQ(image.pixel(centre - 14, top + 20), 0xff0000c0U);
        EXPECT_TRUE(isBlack(image, centre + 5, top + 30));
        EXPECT_EQ(image.pixel(centre, top + 31), plain.pixel(centre, top + 31));
    }
}

// The core's mark above the frame: a line over its traces' columns, a
// triangle pointing down at their middle.
TEST(SectionPicture, TheCoreIsMarkedAboveItsNearestTraces) {
    const struct {
        int first;
        int last;
        int lined; // columns
        int middle;
    } cases[] = {{99, 99, 1, 99}, {40, 59, 20, 49}, {-1, -1, 0, 0}, {300, 310, 0, 0}};
    for (const auto& c : cases) {
        SectionStyle style;
        style.coreFirst = c.first;
        style.coreLast = c.last;
        const QImage image = renderSectionPicture(rampSection(), style, SectionAcross::TraceNumber,
                                                  Canvas::defaultFont());
        int lined = 0;
        for (int x = 0; x < image.width(); ++x) {
            lined += image.pixel(x, SectionTop - 2) == SectionCoreMark ? 1 : 0;
        }
        EXPECT_EQ(lined, c.lined) << c.first;
        // Two rows from the top the triangle is seven pixels wide.
        EXPECT_EQ(image.pixel(SectionLeft + c.middle + 3, 2) == SectionCoreMark, c.lined > 0);
    }
}

// The inset shows the synthetic where the tie puts it on the trace: moved by
// the bulk tie's shift (above the sea floor too), and further by the
// depth-varying tie's lag; from the listing's start, which is the trace's
// own time 0 when it was loaded whole and its cut on a flattened section.
TEST(SectionPicture, TheInsetShowsTheSyntheticWhereTheTiePutsIt) {
    tie::TieSynthetic spike;
    spike.interval = 0.0001;
    spike.value.assign(40, 0.0);
    spike.value[10] = 1;
    tie::WarpRequest warp;
    warp.synthetic = tie::bulkTiedSynthetic(spike, 0);
    warp.shift = 0.0005;
    tie::Alignment alignment;
    alignment.knotTime = {0, 0.01};
    alignment.knotLag = {0.0002, 0.0002};
    const std::optional<double> atPick;
    const struct {
        tie::TimeSeries placed;
        std::optional<double> zeroMs;
        double flattenMs;
        int row;
    } cases[] = {
        {warp.synthetic, atPick, 0, 40},
        {tie::bulkTiedSynthetic(spike, 0.0005), atPick, 0, 45},
        {tie::bulkTiedSynthetic(spike, -0.0005), atPick, 0, 35},
        {tie::alignedSynthetic(warp, alignment), atPick, 0, 47},
        {tie::bulkTiedSynthetic(spike, 0.0005), 0.0, 0, 15},
        {tie::bulkTiedSynthetic(spike, 0.0005), 3.0, 2, 25},
    };
    const int peak = SectionLeft + 99 + SectionInsetHalfWidth - 2;
    for (const auto& [placed, zeroMs, flattenMs, row] : cases) {
        SegySection section = rampSection(); // 0.1 ms a row, sea floor at row 30
        section.columns[99].shiftMs = flattenMs;
        QImage image =
            renderSectionPicture(section, {}, SectionAcross::TraceNumber, Canvas::defaultFont());
        SeriesData synthetic;
        synthetic.time = placed.time;
        synthetic.amplitude = placed.value;
        drawSectionInset(image, section, 99, synthetic, zeroMs);
        EXPECT_EQ(image.pixel(peak, SectionTop + row), 0xff0000c0U) << row;
        EXPECT_NE(image.pixel(peak, SectionTop + row + 1), 0xff0000c0U) << row;
    }
}

TEST(SectionPicture, ColumnsUnderThePointerAndTickSteps) {
    const SegySection section = rampSection();
    EXPECT_EQ(sectionColumnAt(section, SectionLeft - 1), -1);
    EXPECT_EQ(sectionColumnAt(section, SectionLeft), 0);
    EXPECT_EQ(sectionColumnAt(section, SectionLeft + 199), 199);
    EXPECT_EQ(sectionColumnAt(section, SectionLeft + 200), -1);
    const std::vector<std::pair<double, double>> steps = {{4, 5},     {5, 5},  {0.013, 0.02},
                                                          {120, 200}, {7, 10}, {0, 1}};
    for (const auto& [minimum, step] : steps) {
        EXPECT_DOUBLE_EQ(niceStep(minimum), step) << minimum;
    }
}

// The picture written without Qt reads back through Qt's own PNG reader.
TEST(SectionPicture, PngBytesReadBackPixelForPixel) {
    const int width = 300;
    const int height = 250; // over 65 535 bytes: several stored blocks
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = 0xFF000000U | static_cast<std::uint32_t>(i * 2654435761U % 0xFFFFFFU);
    }
    const std::string bytes = pngBytes(width, height, pixels);
    QImage image;
    ASSERT_TRUE(image.loadFromData(QByteArray::fromStdString(bytes), "PNG"));
    ASSERT_EQ(image.size(), QSize(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(image.pixel(x, y), pixels[static_cast<std::size_t>(y) * width + x])
                << x << ", " << y;
        }
    }
    EXPECT_THROW(pngBytes(2, 2, pixels), QuarvelError);
}

} // namespace
} // namespace quarvel
