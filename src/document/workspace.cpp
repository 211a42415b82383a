#include "document/workspace.h"

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
    : QObject(parent), workDir_(std::move(workDir)), log_(workDir_), chirp_(workDir_),
      series_(workDir_), tie_(workDir_, log_, series_, chirp_) {
    connect(&log_, &LogModel::changed, this, &Workspace::logSaved);
    connect(&calibration_, &CalibrationModel::notice, this, &Workspace::notice);
    // A series read again is a panel drawn anew, without its marks.
    connect(&series_, &SeriesModel::synthChanged, this,
            [this] { marks_.panelsDrawn({.synthetic = true}); });
    connect(&series_, &SeriesModel::traceChanged, this, [this] {
        marks_.panelsDrawn({.trace = true});
        tie_.traceRead();
    });
    connect(&series_, &SeriesModel::notice, this, &Workspace::notice);
    // The photograph shown anew has no guide line and none of its marks;
    // before the views hear of it, so that the guide is taken off the old
    // picture.
    connect(&photograph_, &PhotographModel::changed, this, [this] {
        probe_.hideGuide();
        marks_.panelsDrawn({.photo = true});
    });
    connect(&tie_, &TieModel::notice, this, &Workspace::notice);
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
        tie_.dropDepthVaryingTie("on the last log", true);
    }
}

void Workspace::startOver() {
    tie_.clearTiePoints();
    tie_.dropDepthVaryingTie(nullptr, true);
    log_.discard();
    state_.NoLogLoaded = true;
    logImportChoices_ = {};
    showLogScale(calcLogScale("", plotSettings_.scales()));
    announceLog();
    // Each panel drawn anew loses its marks with it.
    photograph_.clear();
    series_.clear();
    syntheticComputed_ = false;
    aliasingWarning_.clear();
    timeZeroWarning_.clear();
    finalPlot_.clear();
    // The panels ticked and drawn are the new session's to decide, as in a
    // program just started; how the photograph is fitted stays.
    marks_.reset();
    plotSettings_.setPanels({.fitCore = plotSettings_.panels().fitCore});
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
                               tie_.timeZero(), std::nullopt, antiAliased_);
    aliasingWarning_ = QString::fromStdString(MathFun::aliasingWarning(
        counts.rowStep, numbers::parseNumber(chirp.interval), antiAliased_));
    timeZeroWarning_.clear();
    if (tie_.timeZero() == MathFun::TimeZero::Strongest && counts.timeZero.far) {
        timeZeroWarning_ = QString::fromStdString(MathFun::timeZeroWarning(counts.timeZero)) +
                           QStringLiteral(" (Set, Synthetic Starts at Sea Floor)");
    }
    series_.readSynthetic();
    syntheticComputed_ = true;
    emit synthComputed();
}

void Workspace::setAntiAliased(bool antiAliased) {
    if (antiAliased == antiAliased_) {
        return;
    }
    antiAliased_ = antiAliased;
    emit antiAliasedChanged();
}

void Workspace::selectTrace() {
    emit traceSelected();
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
    series_.takeTrace(load.listing, {fileName, fields, load.seaFloorMs.value_or(0)});
    return load.notice;
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
    spans.syntheticMs = series_.syntheticExtents().timeLast * 1000;
    if (state_.LogCount > 1) {
        spans.logTwtMs =
            depth_twt::estimateTwt(state_.LogTable, state_.LogCount, state_.LogBottomDepth).estTwt;
    }
    return spans;
}

} // namespace quarvel
