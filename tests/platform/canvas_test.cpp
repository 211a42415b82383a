#include "platform/canvas.h"

#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

namespace quarvel {
namespace {

constexpr QRgb White = 0xffffffff;
constexpr QRgb Black = 0xff000000;

using Pixels = std::set<std::pair<int, int>>;

Pixels blackPixels(const Canvas& canvas) {
    Pixels result;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.pixel(x, y) == Black) {
                result.insert({x, y});
            }
        }
    }
    return result;
}

struct LineCase {
    int x0, y0, x1, y1;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << "(" << c.x0 << "," << c.y0 << ")-(" << c.x1 << "," << c.y1 << ")";
}

class CanvasLine : public ::testing::TestWithParam<LineCase> {};

// One pixel per step along the longer axis, the start pixel included, the
// end pixel excluded, each pixel touching the previous one.
TEST_P(CanvasLine, DrawsFromStartToJustBeforeTheEnd) {
    const LineCase c = GetParam();
    Canvas canvas(40, 40);
    canvas.moveTo(c.x0, c.y0);
    canvas.lineTo(c.x1, c.y1);
    EXPECT_EQ(canvas.penPos(), QPoint(c.x1, c.y1));

    const Pixels drawn = blackPixels(canvas);
    const int steps = std::max(std::abs(c.x1 - c.x0), std::abs(c.y1 - c.y0));
    EXPECT_EQ(static_cast<int>(drawn.size()), steps);
    if (steps > 0) {
        EXPECT_TRUE(drawn.count({c.x0, c.y0}));
    }
    EXPECT_FALSE(drawn.count({c.x1, c.y1}));
    for (const auto& [x, y] : drawn) {
        if (x == c.x0 && y == c.y0) {
            continue;
        }
        bool touches = false;
        for (const auto& [nx, ny] : drawn) {
            touches =
                touches || (std::abs(nx - x) <= 1 && std::abs(ny - y) <= 1 && (nx != x || ny != y));
        }
        EXPECT_TRUE(touches) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Directions, CanvasLine,
                         ::testing::Values(LineCase{2, 3, 7, 3}, LineCase{7, 3, 2, 3},
                                           LineCase{5, 1, 5, 30}, LineCase{5, 30, 5, 1},
                                           LineCase{0, 0, 20, 20}, LineCase{20, 20, 0, 0},
                                           LineCase{3, 4, 30, 11}, LineCase{30, 11, 3, 4},
                                           LineCase{10, 2, 14, 35}, LineCase{14, 35, 10, 2},
                                           LineCase{8, 8, 8, 8}));

TEST(Canvas, HorizontalLineAcrossAPanelStopsOneShortOfItsEnd) {
    const int w = 151;
    Canvas canvas(w, 10);
    canvas.moveTo(1, 4);
    canvas.lineTo(w - 1, 4);
    EXPECT_EQ(canvas.pixel(0, 4), White);
    EXPECT_EQ(canvas.pixel(1, 4), Black);
    EXPECT_EQ(canvas.pixel(w - 2, 4), Black);
    EXPECT_EQ(canvas.pixel(w - 1, 4), White);
    EXPECT_EQ(blackPixels(canvas).size(), static_cast<std::size_t>(w - 2));
}

// A line running off the surface sets exactly the pixels it would set on a
// surface large enough to hold it.
TEST(Canvas, ClippedLinesMatchTheUnclippedRaster) {
    const std::vector<LineCase> cases = {
        {-50, -7, 300, 40}, {120, -30, -20, 60}, {-5, 100, 60, -80}, {33, -400, 35, 400}};
    const int offset = 500;
    for (const LineCase& c : cases) {
        Canvas small(100, 30);
        small.moveTo(c.x0, c.y0);
        small.lineTo(c.x1, c.y1);
        Canvas large(1100, 1100);
        large.moveTo(c.x0 + offset, c.y0 + offset);
        large.lineTo(c.x1 + offset, c.y1 + offset);
        Pixels expected;
        for (const auto& [x, y] : blackPixels(large)) {
            if (x >= offset && x < offset + 100 && y >= offset && y < offset + 30) {
                expected.insert({x - offset, y - offset});
            }
        }
        EXPECT_EQ(blackPixels(small), expected)
            << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
        EXPECT_FALSE(expected.empty());
    }
}

TEST(Canvas, LinesBetweenFarAwayPointsAreClipped) {
    Canvas canvas(50, 20);
    canvas.moveTo(INT_MIN, 5);
    canvas.lineTo(INT_MAX, 5);
    canvas.moveTo(INT_MIN, INT_MIN);
    canvas.lineTo(INT_MAX, INT_MAX);
    canvas.moveTo(INT_MAX, INT_MIN);
    canvas.lineTo(INT_MAX - 1, INT_MAX);
    canvas.moveTo(-2000000000, -2000000000);
    canvas.lineTo(-1999999000, 2000000000);
    Pixels expected;
    for (int x = 0; x < 50; ++x) {
        expected.insert({x, 5});
    }
    for (int i = 0; i < 20; ++i) {
        expected.insert({i, i});
    }
    EXPECT_EQ(blackPixels(canvas), expected);
}

// Marks are drawn and removed this way; the brush (rectangle fill) is not
// affected by the pen mode, so only lines are reversible.
TEST(Canvas, NotXorLinesTwiceRestoreThePicture) {
    Canvas canvas(30, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            canvas.setPixel(x, y, qRgb(x * 8, y * 8, (x + y) * 4));
        }
    }
    const QImage before = canvas.image();
    canvas.setPenMode(Canvas::PenMode::NotXor);
    for (int pass = 0; pass < 2; ++pass) {
        canvas.moveTo(0, 15);
        canvas.lineTo(30, 15);
        canvas.moveTo(2, 0);
        canvas.lineTo(27, 29);
        if (pass == 0) {
            EXPECT_NE(canvas.image(), before);
            // A black pen inverts.
            EXPECT_EQ(canvas.pixel(0, 15), ~before.pixel(0, 15) | 0xff000000);
        }
    }
    EXPECT_EQ(canvas.image(), before);
}

TEST(Canvas, RectangleIsAPenFrameAroundABrushFill) {
    Canvas canvas(12, 9);
    canvas.setBrushColor(qRgb(255, 0, 0));
    canvas.fillRect(QRect(0, 0, 12, 9));
    canvas.setBrushColor(qRgb(0, 0, 255));
    canvas.rectangle(2, 1, 10, 7);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x <= 9 && y >= 1 && y <= 6;
            const bool frame = inside && (x == 2 || x == 9 || y == 1 || y == 6);
            const QRgb expected = frame ? Black : inside ? qRgb(0, 0, 255) : qRgb(255, 0, 0);
            EXPECT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(Canvas, TextStandsOnAnOpaqueBrushBackground) {
    Canvas canvas(120, 40);
    canvas.setBrushColor(qRgb(255, 0, 0));
    canvas.fillRect(QRect(0, 0, 120, 40));
    canvas.setBrushColor(White);
    const QString text = QStringLiteral("1623");
    canvas.textOut(10, 5, text);
    const int w = canvas.textWidth(text);
    const int h = canvas.textHeight(text);
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    int black = 0;
    for (int y = 5; y < 5 + h; ++y) {
        for (int x = 10; x < 10 + w; ++x) {
            const QRgb p = canvas.pixel(x, y);
            EXPECT_TRUE(p == White || p == Black) << x << "," << y;
            black += p == Black ? 1 : 0;
        }
    }
    EXPECT_GT(black, 0);
    EXPECT_EQ(canvas.pixel(9, 5), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(10 + w, 5), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(10, 5 + h), qRgb(255, 0, 0));
}

TEST(Canvas, ImagesAreCopiedUnscaledAndClipped) {
    QImage source(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            source.setPixel(x, y, qRgb(10 * x, 20 * y, 7));
        }
    }
    Canvas canvas(5, 5);
    canvas.draw(-1, 3, source);
    EXPECT_EQ(canvas.pixel(0, 3), qRgb(10, 0, 7));
    EXPECT_EQ(canvas.pixel(2, 4), qRgb(30, 20, 7));
    EXPECT_EQ(canvas.pixel(3, 3), White);
    EXPECT_EQ(canvas.pixel(0, 2), White);

    canvas.copyRect(QRect(3, 0, 2, 2), source, QRect(2, 1, 2, 2));
    EXPECT_EQ(canvas.pixel(3, 0), qRgb(20, 20, 7));
    EXPECT_EQ(canvas.pixel(4, 1), qRgb(30, 40, 7));
    EXPECT_EQ(canvas.pixel(5, 1), 0u);
    EXPECT_EQ(canvas.pixel(-1, 0), 0u);
}

} // namespace
} // namespace quarvel
