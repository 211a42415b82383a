// The workspace's part of the panels and the final plot, the commands that
// span the photograph, the marks and the tie points, and what the final plot
// is composed from.
#include "document/workspace.h"
#include "formats/quarvel_error.h"
#include "probe/depth_twt.h"
#include "survey/segy_choice.h"
#include "survey/segy_reader.h"

namespace quarvel {

void Workspace::loadPhotograph(const QString& fileName) {
    photograph_.load(fileName);
    calibration_.photographLoaded(std::filesystem::path(photograph_.fileName()));
    dropTiePoints("marked on the last photograph");
}

void Workspace::dropTiePoints(const char* why) {
    if (tie_.tiePoints().empty()) {
        return;
    }
    tie_.dropTiePoints(why);
    marks_.clear();
}

void Workspace::announceLog() {
    marks_.panelsDrawn({.pwave = true, .density = true});
    emit logChanged();
}

void Workspace::addTiePoint(tie::TiePoint point) {
    std::optional<PlotMark> mark = marks_.markOf(point);
    tie_.addTiePoint(std::move(point));
    if (mark) {
        marks_.add({std::move(*mark)});
    }
}

void Workspace::markAtPointer(int row) {
    const ProbeReading& reading = probe_.reading();
    tie::TiePoint point{row, reading.depthText, reading.estTwt, std::nullopt};
    if (plotSettings_.panels().trace) {
        // The trace is placed by time, not by the photograph's row.
        try {
            const SeriesExtents& trace = series_.traceExtents();
            depth_twt::traceMarkRow(reading.estTwt, trace.timeFirst, trace.timeLast,
                                    photograph_.panelHeight());
        } catch (const QuarvelError&) {
            addTiePoint(std::move(point));
            throw;
        }
        point.traceTwt = reading.estTwt;
    }
    addTiePoint(std::move(point));
}

void Workspace::restoreTiePoints(std::vector<tie::TiePoint> points) {
    std::vector<PlotMark> marks;
    for (const tie::TiePoint& point : points) {
        if (std::optional<PlotMark> mark = marks_.markOf(point)) {
            marks.push_back(std::move(*mark));
        }
    }
    tie_.restoreTiePoints(std::move(points));
    marks_.add(std::move(marks));
}

void Workspace::pickTraceTime(double ms) {
    tie_.pickTraceTime(ms);
    // The trace is drawn again with a mark for every point it can show.
    marks_.panelsDrawn({.trace = true});
    std::vector<PlotMark> marks;
    for (const tie::TiePoint& point : tie_.tiePoints()) {
        if (std::optional<PlotMark> mark = marks_.traceMarkOf(point)) {
            marks.push_back(std::move(*mark));
        }
    }
    marks_.add(std::move(marks));
}

FinalPlotSource Workspace::finalPlotSource(bool withTitle) const {
    FinalPlotSource source;
    source.photograph = photograph_.image();
    source.coreColumns = photograph_.coreColumns();
    source.chosen = marks_.chosenPanels();
    source.drawn = marks_.drawnPanels();
    source.log = state_.LogTable;
    source.logTopDepth = state_.LogTopDepth;
    source.logBottomDepth = state_.LogBottomDepth;
    source.scales = plotSettings_.scales();
    source.synthetic = series_.synthetic();
    source.syntheticExtents = series_.syntheticExtents();
    source.trace = series_.trace();
    source.traceExtents = series_.traceExtents();
    source.marks = marks_.all();
    source.font = plotSettings_.font();
    // The final plot's own rule for Top and Bottom (the whole number each
    // starts with) is applied by composeFinalPlot.
    const Boundaries& calibration = calibration_.boundaries();
    source.topText = calibration.Top;
    source.bottomText = calibration.Bottom;
    source.yminText = calibration.ymin;
    source.ymaxText = calibration.ymax;
    source.markFreqText = plotSettings_.axis().yMarkFreq;
    source.labelFreqText = plotSettings_.axis().yLabelFreq;
    source.traceTimeMinMs = series_.traceTimeMinMs();
    source.traceTimeMaxMs = series_.traceTimeMaxMs();
    source.meanVelocity = state_.MeanVelocity;
    source.imageFileName = photograph_.fileName();
    source.withTitle = withTitle;
    const FinalPlotOptions& options = plotSettings_.finalPlotOptions();
    if (const std::optional<TieModel::PlacedSynthetic> placed =
            options.tiedSynthetic ? tie_.placedSynthetic() : std::nullopt) {
        // In the trace's own unit, ms.
        TiedSynthetic& tied = source.tiedSynthetic.emplace();
        for (const double t : placed->series.time) {
            tied.series.time.push_back(t * 1000);
        }
        tied.series.amplitude = placed->series.value;
        tied.title = placed->depthVarying ? QStringLiteral("Synthetic, depth-varying tie")
                                          : QStringLiteral("Synthetic, bulk tie");
    }
    if (options.sectionExcerpt && series_.traceSource().segy && !photograph_.image().isNull()) {
        source.section = excerpt();
    }
    return source;
}

// The line is read again: the excerpt shows it as it is now, and nothing of
// it is kept between plots.
SectionExcerpt Workspace::excerpt() const {
    ExcerptRequest request;
    request.either = sectionTracesFromText(plotSettings_.finalPlotOptions().sectionTraces);
    try {
        SegyReader reader(series_.traceSource().file);
        SegyChoiceFields fields = *series_.traceSource().segy;
        const std::string headerInterval =
            headerIntervalText(reader.layout(), reader.traceHeader(0));
        if (fields.intervalMs.empty()) {
            fields.intervalMs = headerInterval;
        }
        const SegyLoadRequest load = requestFromFields(fields, traceLengthSpans(), headerInterval);
        request.trace = chooseTrace(reader, load.choice);
        request.stack = load.stack;
        // The listing's times count from where the trace was cut.
        const SegyLoad listed = quarvel::loadSegyTrace(reader, request.trace, load);
        const double cutMs = listed.seaFloorMs.value_or(0);
        request.intervalMs = listed.intervalMs;
        const SeriesExtents& trace = series_.traceExtents();
        request.firstMs = cutMs + trace.timeFirst;
        request.lastMs = cutMs + trace.timeLast;
        request.height = photograph_.image().height();
        return sectionExcerpt(reader, request);
    } catch (const QuarvelError& e) {
        throw QuarvelError("The section excerpt cannot be drawn: " + std::string(e.what()),
                           e.kind());
    }
}

} // namespace quarvel
