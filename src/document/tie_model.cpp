// The tie's points, the time-zero choice and the bulk measurement; the
// depth-varying part is in tie_model_depth_varying.cpp.
#include "document/tie_model.h"

#include "document/chirp_model.h"
#include "document/log_model.h"
#include "document/series_model.h"
#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "tie/tie_synthesiser.h"
#include "tie/tied_synthetic.h"

#include <memory>
#include <utility>

namespace quarvel {

TieModel::TieModel(WorkDir workDir, const LogModel& log, const SeriesModel& series,
                   const ChirpModel& chirp, QObject* parent)
    : QObject(parent), workDir_(std::move(workDir)), log_(log), series_(series), chirp_(chirp) {
    // Before any view hears of the end, so that views read the alignment held.
    connect(&depthVaryingTask_, &TaskRunner::finished, this, &TieModel::aligned);
}

void TieModel::setTimeZero(MathFun::TimeZero timeZero) {
    if (timeZero == timeZero_) {
        return;
    }
    timeZero_ = timeZero;
    emit timeZeroChanged();
}

void TieModel::addTiePoint(tie::TiePoint point) {
    tiePoints_.push_back(std::move(point));
    emit tiePointsChanged();
}

void TieModel::clearTiePoints() {
    if (tiePoints_.empty()) {
        return;
    }
    tiePoints_.clear();
    emit tiePointsChanged();
}

void TieModel::restoreTiePoints(std::vector<tie::TiePoint> points) {
    tiePoints_ = std::move(points);
    emit tiePointsChanged();
}

// A tie point is a row of one photograph with a time estimated from one log:
// with either replaced it no longer means anything.
void TieModel::dropTiePoints(const char* why) {
    if (tiePoints_.empty()) {
        return;
    }
    const auto count = static_cast<qsizetype>(tiePoints_.size());
    clearTiePoints();
    const bool one = count == 1;
    emit notice(QStringLiteral("The %1 %2 %3 %4; %5 cleared.")
                    .arg(count)
                    .arg(one ? QStringLiteral("tie point") : QStringLiteral("tie points"))
                    .arg(one ? QStringLiteral("was") : QStringLiteral("were"))
                    .arg(QLatin1String(why))
                    .arg(one ? QStringLiteral("it was") : QStringLiteral("they were")));
}

void TieModel::pickTraceTime(double ms) {
    if (tiePoints_.empty()) {
        throw QuarvelError("Shift+click on the trace picks the trace time of the last tie point; "
                           "make one first by clicking the photograph with Correlator checked.");
    }
    tiePoints_.back().traceTwt = ms;
    emit tiePointsChanged();
}

void TieModel::exportTiePoints(const std::filesystem::path& path) const {
    writeTextFile(path, tie::tiePointsCsv(tiePoints_));
}

TieModel::TieInputs TieModel::tieInputs(const std::string& maxShiftMs, const std::string& minFactor,
                                        const std::string& maxFactor) const {
    TieInputs inputs;
    tie::TieRequest& request = inputs.request;
    if (!maxShiftMs.empty()) {
        request.settings.maxShift = tie::shiftLimitFromText(maxShiftMs, "The maximum shift");
    }
    if (!minFactor.empty() || !maxFactor.empty()) {
        request.settings.factorRange =
            tie::factorRangeFromTexts(minFactor, maxFactor, "The velocity factor range");
    }
    const SeriesData& trace = series_.trace();
    if (trace.time.empty()) {
        throw QuarvelError("There is no trace to compare the synthetic with. Load a trace on "
                           "the data editor's Trace page first.");
    }
    request.trace =
        tie::checkedSeries(trace.time, trace.amplitude, "the trace", tie::SecondsPerTraceUnit);
    // The log the panels show and Apply scales, not whatever log.dat holds
    // now: another program may have changed the file since.
    if (log_.savedText().empty()) {
        throw QuarvelError("There is no log to measure the tie with. Load a log in the data "
                           "editor first.");
    }
    inputs.logText = log_.savedText();
    inputs.log = engine::readLogText(inputs.logText, workDir_.file(MathFun::LogFileName).string());
    const MathFun::SyntheticParameters parameters =
        tie::synthesisParameters(chirp_.texts().start, chirp_.texts().end, chirp_.texts().interval);
    engine::checkWaveletSweep(workDir_, parameters.startFrequency, parameters.endFrequency);
    request.synthesiser = std::make_shared<const tie::TieSynthesiser>(
        inputs.log,
        engine::readWavelet(workDir_, parameters.samplingInterval, chirp_.texts().interval),
        parameters);
    return inputs;
}

tie::TieRequest TieModel::tieRequest(const std::string& maxShiftMs, const std::string& minFactor,
                                     const std::string& maxFactor) const {
    return tieInputs(maxShiftMs, minFactor, maxFactor).request;
}

void TieModel::startTieMeasurement(const std::string& maxShiftMs, const std::string& minFactor,
                                   const std::string& maxFactor) {
    TieInputs inputs = tieInputs(maxShiftMs, minFactor, maxFactor);
    tieTask_.start([request = inputs.request](TaskProgress& progress) {
        return tie::measureTie(request, [&progress](double done) {
            progress.report(done);
            return !progress.cancelRequested();
        });
    });
    measured_ = std::move(inputs);
    dropDepthVaryingTie("from the last bulk tie", false);
}

double TieModel::applicableFactor() const {
    const std::optional<tie::TieMeasurement>& bulk = tieTask_.result();
    if (!bulk || tieTask_.running()) {
        throw QuarvelError("There is no bulk tie to apply: press Measure first.");
    }
    if (measured_.logText != log_.savedText()) {
        throw QuarvelError("The log has changed since the bulk tie was measured: press Measure "
                           "again first.");
    }
    return bulk->bestPoint().factor;
}

// The same samples at other times are another trace: the shift and factor
// found on one say nothing about the other.
bool TieModel::measuredTraceOnShow() const {
    const tie::TimeSeries& compared = measured_.request.trace;
    const SeriesData& trace = series_.trace();
    if (compared.value != trace.amplitude || compared.time.size() != trace.time.size()) {
        return false;
    }
    for (std::size_t i = 0; i < trace.time.size(); ++i) {
        if (compared.time[i] != trace.time[i] * tie::SecondsPerTraceUnit) {
            return false;
        }
    }
    return true;
}

// A running task's result is the worker's until it ends, so it is not read
// then.
std::optional<TieModel::PlacedSynthetic> TieModel::placedSynthetic() const {
    if (tieTask_.running()) {
        return std::nullopt;
    }
    const std::optional<tie::TieMeasurement>& bulk = tieTask_.result();
    if (!bulk || measured_.logText != log_.savedText() || !measuredTraceOnShow()) {
        return std::nullopt;
    }
    // The alignment held; one a session kept has no lags.
    const std::optional<DepthVaryingResult>& aligned = depthVarying_;
    if (aligned && !aligned->fromSession && aligned->logText == measured_.logText &&
        aligned->request.factor == bulk->bestPoint().factor &&
        aligned->request.warp.shift == bulk->bestShift) {
        return PlacedSynthetic{tie::alignedSynthetic(aligned->request.warp, aligned->tie.alignment),
                               true};
    }
    return PlacedSynthetic{
        tie::bulkTiedSynthetic((*measured_.request.synthesiser)(bulk->bestPoint().factor),
                               bulk->bestShift),
        false};
}

SeriesData TieModel::tiedSynthetic() const {
    const std::optional<PlacedSynthetic> placed = placedSynthetic();
    if (!placed) {
        return series_.synthetic();
    }
    SeriesData tied;
    tied.time = placed->series.time;
    tied.amplitude = placed->series.value;
    return tied;
}

} // namespace quarvel
