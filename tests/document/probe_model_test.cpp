// The pointer's reading and the guide line, as the document keeps them.
#include "document/probe_model.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

TEST(ProbeModel, ThePointerReadsThroughTheLogAndEachMoveIsAnnounced) {
    const std::vector<LogRecord> log{{0.0, 1500.0, 1.5}, {0.5, 1500.0, 1.7}, {1.0, 1600.0, 1.9}};
    const struct {
        int logCount;
        double depth;
        double estTwt;
        const char* velocity;
        const char* density;
        const char* status1;
    } cases[] = {
        {3, 0.4995, 0.6667, "1500.00", "1.700", "Depth :0.4995 m    Est. TWT:0.667 msec"},
        {3, -0.02, 0.0, "1500.00", "1.500", "Depth :-0.0200 m    Est. TWT:0.000 msec"},
        {0, 0.4995, 0.0, "", "", "Depth :0.4995 m    Est. TWT:0.000 msec"},
    };
    ProbeModel probe;
    QSignalSpy changed(&probe, &ProbeModel::readingChanged);
    for (const auto& c : cases) {
        probe.pointerAt(40, 512, qRgb(51, 102, 153), c.depth, log, c.logCount);
        const ProbeReading& reading = probe.reading();
        EXPECT_NEAR(reading.estTwt, c.estTwt, 1e-3) << c.depth;
        EXPECT_EQ(reading.velocityText, c.velocity);
        EXPECT_EQ(reading.densityText, c.density);
        EXPECT_EQ(reading.status0, "Image: (40, 512)  R:51  G:102  B:153");
        EXPECT_EQ(reading.status1, c.status1);
    }
    EXPECT_EQ(changed.count(), 3);
}

// The guide is at one row at most: moving it hides it where it was first.
TEST(ProbeModel, TheGuideIsHiddenWhereItWasBeforeItIsShownAgain) {
    ProbeModel probe;
    std::vector<std::string> events;
    QObject::connect(&probe, &ProbeModel::guideShown,
                     [&](int row) { events.push_back("shown " + std::to_string(row)); });
    QObject::connect(&probe, &ProbeModel::guideHidden,
                     [&](int row) { events.push_back("hidden " + std::to_string(row)); });
    probe.showGuide(5);
    probe.showGuide(9);
    EXPECT_EQ(probe.guideRow(), 9);
    probe.hideGuide();
    probe.hideGuide();
    EXPECT_EQ(probe.guideRow(), std::nullopt);
    EXPECT_EQ(events, (std::vector<std::string>{"shown 5", "hidden 5", "shown 9", "hidden 9"}));
}

} // namespace
} // namespace quarvel
