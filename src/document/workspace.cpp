#include "document/workspace.h"

#include "editor/listing_file.h"
#include "engine/calc_synthetic.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "probe/depth_twt.h"
#include "survey/segy_reader.h"

#include <utility>

namespace quarvel {

namespace {

QString leftOutNotice(const char* fileName, int capacity, const char* what) {
    return QStringLiteral("\"%1\" holds more than %2 %3; the rest was left out.")
        .arg(QLatin1String(fileName))
        .arg(capacity)
        .arg(QLatin1String(what));
}

} // namespace

Workspace::Workspace(WorkDir workDir, QObject* parent)
    : QObject(parent), workDir_(std::move(workDir)), log_(workDir_), chirp_(workDir_) {
    connect(&log_, &LogModel::changed, this, &Workspace::logSaved);
    // New X min or X max move a squeezed photograph's core.
    connect(&calibration_, &CalibrationModel::changed, this, [this] { showPhotograph(false); });
    connect(&calibration_, &CalibrationModel::notice, this, &Workspace::notice);
    // "Fit Core to Panel" squeezes the photograph or shows it as it is.
    connect(&plotSettings_, &PlotSettings::panelsChanged, this, [this] { showPhotograph(false); });
}

void Workspace::pointerAt(long long column, long long row, QRgb colour, int ymin, int ymax) {
    const double depth = calibration_.probeDepth(ymin, ymax, row - ymin, probe_.reading().depth);
    probe_.pointerAt(column, row, colour, depth, state_.LogTable, state_.LogCount);
}

void Workspace::CALC_LOG_SCALE() {
    showLogScale(calcLogScaleFile(workDir_.file("log.dat"), plotSettings_.scales()));
}

void Workspace::showLogScale(const LogScaleResult& result) {
    applyLogScale(result, state_);
    plotSettings_.setScales(result.scales);
    if (result.truncated) {
        emit notice(leftOutNotice("log.dat", LogCapacity, "records"));
    }
}

void Workspace::refreshLog() {
    CALC_LOG_SCALE();
    announceLog();
}

// The log model wrote the text it holds: it is shown without reading the
// file back.
void Workspace::logSaved(LogModel::Changes changes) {
    if (!changes.testFlag(LogModel::LogSaved)) {
        return;
    }
    showLogScale(calcLogScale(log_.savedText(), plotSettings_.scales()));
    if (changes.testFlag(LogModel::NewLog)) {
        state_.NoLogLoaded = false;
    }
    announceLog();
    if (changes.testFlag(LogModel::NewLog)) {
        dropTiePoints("estimated from the last log");
        clearAcceptedTies();
    }
}

void Workspace::startOver() {
    clearTiePoints();
    clearAcceptedTies();
    log_.discard();
    state_.NoLogLoaded = true;
    showLogScale(calcLogScale("", plotSettings_.scales()));
    announceLog();
}

void Workspace::logLoaded() {
    CALC_LOG_SCALE();
    state_.NoLogLoaded = false;
    announceLog();
}

void Workspace::computeSynthetic() {
    const ChirpTexts& chirp = chirp_.texts();
    const MathFun::SyntheticCounts counts =
        MathFun::CalcSynthetic(engine_, workDir_, chirp.start, chirp.end, chirp.interval, {},
                               timeZero_, std::nullopt, antiAliased_);
    aliasingWarning_ = QString::fromStdString(MathFun::aliasingWarning(
        counts.rowStep, numbers::parseNumber(chirp.interval), antiAliased_));
    timeZeroWarning_.clear();
    if (timeZero_ == MathFun::TimeZero::Strongest && counts.timeZero.far) {
        timeZeroWarning_ = QString::fromStdString(MathFun::timeZeroWarning(counts.timeZero)) +
                           QStringLiteral(" (Set, Synthetic Starts at Sea Floor)");
    }
    readSynthetic();
    syntheticComputed_ = true;
    emit synthComputed();
}

SeriesData Workspace::readSeries(const char* fileName) {
    SeriesData series = readSeriesFile(workDir_.file(fileName));
    if (series.truncated) {
        emit notice(leftOutNotice(fileName, SeriesCapacity, "samples"));
    }
    return series;
}

void Workspace::readSynthetic() {
    synthetic_ = readSeries("ampl.dat");
    setSyntheticExtents(seriesExtents(synthetic_));
    panelsDrawn({.synthetic = true});
    emit synthChanged();
}

void Workspace::readTrace() {
    trace_ = readSeries("trace.txt");
    state_.TraceTimeMaxMs = trace_.runningTimeMax * 1000;
    state_.TraceTimeMinMs = trace_.runningTimeMin * 1000;
    setTraceExtents(seriesExtents(trace_));
    panelsDrawn({.trace = true});
    emit traceChanged();
}

void Workspace::selectTrace() {
    emit traceSelected();
}

SeriesExtents Workspace::syntheticExtents() const {
    return {state_.SynthTimeFirst, state_.SynthTimeLast, state_.SynthAmpMin, state_.SynthAmpMax};
}

SeriesExtents Workspace::traceExtents() const {
    return {state_.TraceTimeFirst, state_.TraceTimeLast, state_.TraceAmpMin, state_.TraceAmpMax};
}

void Workspace::setSyntheticExtents(const SeriesExtents& extents) {
    state_.SynthTimeFirst = extents.timeFirst;
    state_.SynthTimeLast = extents.timeLast;
    state_.SynthAmpMin = extents.ampMin;
    state_.SynthAmpMax = extents.ampMax;
}

void Workspace::setTraceExtents(const SeriesExtents& extents) {
    state_.TraceTimeFirst = extents.timeFirst;
    state_.TraceTimeLast = extents.timeLast;
    state_.TraceAmpMin = extents.ampMin;
    state_.TraceAmpMax = extents.ampMax;
}

void Workspace::loadTraceListing(const std::filesystem::path& fileName) {
    takeTrace(readListingFile(fileName), {fileName, std::nullopt});
}

std::string Workspace::loadSegyTrace(const std::filesystem::path& fileName,
                                     const SegyChoiceFields& choice) {
    SegyReader reader(fileName);
    const std::string headerInterval = headerIntervalText(reader.layout(), reader.traceHeader(0));
    SegyChoiceFields fields = choice;
    // No interval given is the headers' own.
    if (fields.intervalMs.empty()) {
        fields.intervalMs = headerInterval;
    }
    const SegyLoadRequest request = requestFromFields(fields, traceLengthSpans(), headerInterval);
    const SegyLoad load =
        quarvel::loadSegyTrace(reader, chooseTrace(reader, request.choice), request);
    takeTrace(load.listing, {fileName, fields});
    return load.notice;
}

void Workspace::takeTrace(const std::string& listing, TraceSource source) {
    // A trace the panel cannot draw must not take the place of the last good
    // one.
    checkTraceListing(listing);
    std::string text = normaliseLineEnds(listing);
    writeTextFile(workDir_.file("trace.txt"), text);
    traceListing_ = std::move(text);
    traceSource_ = std::move(source);
    readTrace();
    emit traceSourceChanged();
}

void Workspace::setCorePosition(const std::optional<CorePosition>& position) {
    if (position == corePosition_) {
        return;
    }
    corePosition_ = position;
    emit corePositionChanged();
}

LengthSpans Workspace::traceLengthSpans() const {
    LengthSpans spans;
    spans.syntheticMs = syntheticExtents().timeLast * 1000;
    if (state_.LogCount > 1) {
        spans.logTwtMs =
            depth_twt::estimateTwt(state_.LogTable, state_.LogCount, state_.LogBottomDepth).estTwt;
    }
    return spans;
}

} // namespace quarvel
