// How the panels and the final plot are drawn, as the document keeps it.
#include "document/plot_settings.h"

#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

// Each setting announces itself with its own signal, once for a change and
// not at all for the value it holds.
TEST(PlotSettings, EachSetterAnnouncesOnlyAChangeWithItsOwnSignal) {
    PlotSettings settings;
    QSignalSpy scales(&settings, &PlotSettings::scalesChanged);
    QSignalSpy axis(&settings, &PlotSettings::axisChanged);
    QSignalSpy font(&settings, &PlotSettings::fontChanged);
    QSignalSpy panels(&settings, &PlotSettings::panelsChanged);
    QFont large = settings.font();
    large.setPixelSize(30);
    const struct {
        std::function<void()> same;
        std::function<void()> changed;
        QSignalSpy* spy;
    } cases[] = {
        {[&] { settings.setScales(LogScaleSettings{}); },
         [&] { settings.setScales({.maxDens = 2400}); }, &scales},
        {[&] { settings.setAxis(AxisTexts{}); }, [&] { settings.setAxis({.yLabelFreq = "400"}); },
         &axis},
        {[&] { settings.setFont(settings.font()); }, [&] { settings.setFont(large); }, &font},
        {[&] { settings.setPanels(PanelChoices{}); },
         [&] { settings.setPanels({.correlator = true}); }, &panels},
    };
    for (const auto& c : cases) {
        c.same();
        c.changed();
        c.changed();
    }
    for (const QSignalSpy* spy : {&scales, &axis, &font, &panels}) {
        EXPECT_EQ(spy->count(), 1);
    }
    EXPECT_EQ(settings.scales().maxDens, 2400);
    EXPECT_EQ(settings.axis().yLabelFreq, "400");
    EXPECT_EQ(settings.font(), large);
    EXPECT_TRUE(settings.panels().correlator);
}

} // namespace
} // namespace quarvel
