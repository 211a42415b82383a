#pragma once

#include "plot/plot_marks.h"
#include "tie/tie_points.h"

#include <QObject>
#include <optional>
#include <vector>

namespace quarvel {

class PhotographModel;
class PlotSettings;
class SeriesModel;

// The marks on the panels, in the order made, and the panels drawn so far.
// A panel drawn again (a new photograph or columns of it, log, synthetic or
// trace) loses its marks; a mark on no panel any more goes.
//
// A tie point's mark is worked out here rather than by the workspace: it
// needs only the panels chosen, the trace's extents and the panels' height,
// which this model is given, while the tie point itself stays with the tie.
class MarksModel : public QObject {
    Q_OBJECT
public:
    MarksModel(const PlotSettings& settings, const SeriesModel& series,
               const PhotographModel& photograph, QObject* parent = nullptr);

    const std::vector<PlotMark>& all() const { return marks_; }
    // The panels something has been drawn on.
    const PanelSet& drawnPanels() const { return drawnPanels_; }
    // The panels a mark made now goes on: those chosen.
    PanelSet chosenPanels() const;

    // A tie point's mark on the panels chosen now, on the trace only when it
    // has been drawn and the point has a trace time it can show; nothing
    // when that leaves no panel.
    std::optional<PlotMark> markOf(const tie::TiePoint& point) const;
    // The point's mark on the trace alone, where its trace time lies.
    std::optional<PlotMark> traceMarkOf(const tie::TiePoint& point) const;

    // The marks added after those there are; announced even when there are
    // none, so that the views draw the marks again.
    void add(std::vector<PlotMark> marks);
    // The panels drawn anew: they hold a picture, and none of their marks.
    void panelsDrawn(const PanelSet& panels);
    // Every mark off the panels.
    void clear();
    // No marks and no panel drawn, as at start-up (a session opened).
    void reset();

signals:
    // New marks are on the panels; marks drawn before are drawn again, where
    // they still lie.
    void added();
    void cleared();

private:
    // The trace's row of a two-way time on a panel of the panels' height.
    std::optional<int> traceRow(double twt) const;

    const PlotSettings& settings_;
    const SeriesModel& series_;
    const PhotographModel& photograph_;
    std::vector<PlotMark> marks_;
    PanelSet drawnPanels_;
};

} // namespace quarvel
