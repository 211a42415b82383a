#include "document/marks_model.h"

#include "document/photograph_model.h"
#include "document/plot_settings.h"
#include "document/series_model.h"
#include "formats/quarvel_error.h"
#include "probe/depth_twt.h"

#include <algorithm>
#include <utility>

namespace quarvel {

MarksModel::MarksModel(const PlotSettings& settings, const SeriesModel& series,
                       const PhotographModel& photograph, QObject* parent)
    : QObject(parent), settings_(settings), series_(series), photograph_(photograph) {}

PanelSet MarksModel::chosenPanels() const {
    const PanelChoices& chosen = settings_.panels();
    return {chosen.photo, chosen.synthetic, chosen.velocity, chosen.density, chosen.trace};
}

std::optional<int> MarksModel::traceRow(double twt) const {
    const SeriesExtents& trace = series_.traceExtents();
    try {
        return depth_twt::traceMarkRow(twt, trace.timeFirst, trace.timeLast,
                                       photograph_.panelHeight());
    } catch (const QuarvelError&) {
        return std::nullopt;
    }
}

std::optional<PlotMark> MarksModel::markOf(const tie::TiePoint& point) const {
    PlotMark mark{point.row, point.depthText, chosenPanels(), std::nullopt, 0};
    const std::optional<int> row =
        point.traceTwt && drawnPanels_.trace ? traceRow(*point.traceTwt) : std::nullopt;
    mark.panels.trace = mark.panels.trace && row.has_value();
    if (mark.panels.trace) {
        mark.traceTwt = point.traceTwt;
        mark.traceRow = *row;
    }
    if (!mark.panels.any()) {
        return std::nullopt;
    }
    return mark;
}

std::optional<PlotMark> MarksModel::traceMarkOf(const tie::TiePoint& point) const {
    const std::optional<int> row = point.traceTwt ? traceRow(*point.traceTwt) : std::nullopt;
    if (!row) {
        return std::nullopt;
    }
    return PlotMark{point.row, point.depthText, {.trace = true}, point.traceTwt, *row};
}

void MarksModel::add(std::vector<PlotMark> marks) {
    marks_.insert(marks_.end(), std::make_move_iterator(marks.begin()),
                  std::make_move_iterator(marks.end()));
    emit added();
}

void MarksModel::panelsDrawn(const PanelSet& panels) {
    for (PlotMark& mark : marks_) {
        mark.panels.photo = mark.panels.photo && !panels.photo;
        mark.panels.synthetic = mark.panels.synthetic && !panels.synthetic;
        mark.panels.pwave = mark.panels.pwave && !panels.pwave;
        mark.panels.density = mark.panels.density && !panels.density;
        mark.panels.trace = mark.panels.trace && !panels.trace;
    }
    std::erase_if(marks_, [](const PlotMark& mark) { return !mark.panels.any(); });
    drawnPanels_.photo = drawnPanels_.photo || panels.photo;
    drawnPanels_.synthetic = drawnPanels_.synthetic || panels.synthetic;
    drawnPanels_.pwave = drawnPanels_.pwave || panels.pwave;
    drawnPanels_.density = drawnPanels_.density || panels.density;
    drawnPanels_.trace = drawnPanels_.trace || panels.trace;
}

void MarksModel::clear() {
    marks_.clear();
    emit cleared();
}

void MarksModel::reset() {
    drawnPanels_ = {};
    if (!marks_.empty()) {
        clear();
    }
}

} // namespace quarvel
