#include "platform/canvas.h"
#include "plot/chirp_graph.h"
#include "support/temp_work_dir.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;

TEST(ChirpGraphValues, AFileThatCannotBeReadGivesNoPairs) {
    testing::TempWorkDir dir;
    EXPECT_TRUE(readChirpGraphValues(dir.file("missing.dat")).empty());
    EXPECT_TRUE(readChirpGraphValues(dir.path()).empty()); // a folder
    dir.write("klauder.dat", "1 1\r\n");
    EXPECT_EQ(readChirpGraphValues(dir.file("klauder.dat")), (std::vector<double>{1.0, 0.0}));
}

TEST(ChirpGraph, ScalesRoundWithTiesToEven) {
    struct Case {
        std::vector<double> values;
        int width;
        int height;
        std::vector<QPoint> points;
    };
    const Case cases[] = {
        // xs = 2: x = Round(0.5, 1, 1.5, 2) = 0, 1, 2, 2; A = 1, ys = 0.4:
        // the value 0 gives Round(2.5) = 2, so y = 3.
        {{0.0, 1.0, -1.0, 0.0}, 2, 5, {{0, 3}, {1, 0}, {2, 5}, {2, 3}}},
        // Asymmetric: A = (1 + 0.5) / 2 = 0.75, so 1 passes the top edge.
        {{1.0, -0.5}, 10, 6, {{5, -1}, {10, 5}}},
        // Nothing to scale by: drawn along the middle.
        {{0.0, 0.0}, 4, 10, {{2, 5}, {4, 5}}},
    };
    for (const Case& c : cases) {
        const ChirpGraph graph = renderChirpGraph(c.values, c.width, c.height, "");
        EXPECT_EQ(graph.polyline, c.points);
        EXPECT_EQ(graph.image.size(), QSize(c.width, c.height));
    }
}

TEST(ChirpGraph, DrawsFromTheTopLeftCornerOverTheFullWidth) {
    std::vector<double> values(1002);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = (i % 2 == 0) ? -0.5 : 0.5;
    }
    const ChirpGraph graph = renderChirpGraph(values, 375, 161, "");
    ASSERT_EQ(graph.polyline.size(), 1002u);
    EXPECT_EQ(graph.polyline.front(), QPoint(0, 161));
    EXPECT_EQ(graph.polyline.back(), QPoint(375, 0));
    EXPECT_EQ(Canvas(graph.image).pixel(187, 80), Black);

    // A single sample: one segment from the corner to (10, 5).
    const Canvas single(renderChirpGraph({0.0}, 10, 10, "").image);
    EXPECT_EQ(single.pixel(4, 2), Black);
    EXPECT_EQ(single.pixel(4, 5), White);
}

TEST(ChirpGraph, WithoutPairsShowsFrameAndCaptionOnly) {
    const ChirpGraph bare = renderChirpGraph({}, 375, 161, "");
    const ChirpGraph captioned = renderChirpGraph({}, 375, 161, "Chirp.dat");
    EXPECT_TRUE(bare.polyline.empty());
    const Canvas picture(bare.image);
    int blackInside = 0;
    for (int y = 0; y < 161; ++y) {
        for (int x = 0; x < 375; ++x) {
            const bool edge = x == 0 || y == 0 || x == 374 || y == 160;
            EXPECT_EQ(picture.pixel(x, y), edge ? Black : White) << x << "," << y;
            blackInside += !edge && Canvas(captioned.image).pixel(x, y) == Black;
        }
    }
    EXPECT_GT(blackInside, 0); // the caption's glyphs
    Canvas expected(375, 161);
    expected.rectangle(0, 0, 375, 161);
    expected.textOut(5, 5, "Chirp.dat");
    EXPECT_EQ(captioned.image, expected.image());
}

TEST(ChirpGraph, ValuesBeyondAnyScaleStayOnTheSurface) {
    const ChirpGraph graph = renderChirpGraph({1e308, -1e308, 1e308 * 10}, 20, 10, "");
    ASSERT_EQ(graph.polyline.size(), 3u);
    for (const QPoint& p : graph.polyline) {
        EXPECT_LE(std::abs(p.y()), 32767 + 10);
    }
}

} // namespace
} // namespace quarvel
