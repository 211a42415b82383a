// The workspace's part of the depth-varying tie: the alignment and the tie
// points it is held to, Apply and Undo through the log model, and the
// exports.
#include "document/workspace.h"
#include "editor/log_grid.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "survey/las_writer.h"

#include <QDate>
#include <algorithm>
#include <cmath>
#include <optional>

namespace quarvel {
namespace {

// The limit as typed, a percentage, as a share.
double velocityLimit(const std::string& percent) {
    const std::optional<double> value = numbers::tryParseNumber(percent);
    if (!value || !(*value > 0) || !(*value <= tie::MaxVelocityChange * 100)) {
        throw QuarvelError("The velocity limit must be a percentage above 0 and at most " +
                           numbers::formatFixed(tie::MaxVelocityChange * 100, 0) + ", not '" +
                           percent + "'.");
    }
    return *value / 100;
}

tie::TieProgress reporting(TaskProgress& progress) {
    return [&progress](double done) {
        progress.report(done);
        return !progress.cancelRequested();
    };
}

} // namespace

void Workspace::startDepthVaryingTie(const std::string& velocityLimitPct) {
    tie::WarpLimits limits;
    limits.velocityChange = velocityLimit(velocityLimitPct);
    const std::optional<tie::TieMeasurement>& bulk = tieTask_.result();
    if (!bulk || tieTask_.running()) {
        throw QuarvelError("The depth-varying tie starts from the bulk tie: press Measure first.");
    }
    if (measured_.logText != log_.savedText()) {
        throw QuarvelError("The log has changed since the bulk tie was measured: press Measure "
                           "again first.");
    }
    DepthVaryingResult start;
    start.logText = measured_.logText;
    start.logCoefficient = bulk->atFactorOne[bulk->bulkShift];
    start.request = tie::depthVaryingRequest(*measured_.request.synthesiser, measured_.log, *bulk,
                                             measured_.request.trace, limits);
    std::vector<tie::FixedTie>& fixed = start.request.warp.fixed;
    fixed = acceptedTies_;
    // A trace time picked with Shift+click says where the event is; one the
    // marks only estimated says nothing the alignment should be held to.
    for (const tie::TiePoint& point : tiePoints_) {
        const std::optional<double> depth = numbers::tryParseNumber(point.depthText);
        if (depth && point.traceTwt && std::abs(*point.traceTwt - point.estTwt) > 1e-9) {
            fixed.push_back({*depth, *point.traceTwt / 1000});
        }
    }
    std::sort(fixed.begin(), fixed.end(),
              [](const tie::FixedTie& a, const tie::FixedTie& b) { return a.depth < b.depth; });
    depthVaryingTask_.start([start = std::move(start)](TaskProgress& progress) {
        DepthVaryingResult result = start;
        result.tie = tie::tieDepthVarying(result.request, reporting(progress));
        return result;
    });
}

void Workspace::acceptTie(tie::FixedTie point) {
    removeAcceptedTie(point.depth);
    acceptedTies_.insert(std::upper_bound(acceptedTies_.begin(), acceptedTies_.end(), point,
                                          [](const tie::FixedTie& a, const tie::FixedTie& b) {
                                              return a.depth < b.depth;
                                          }),
                         point);
    emit acceptedTiesChanged();
}

void Workspace::removeAcceptedTie(double depth) {
    const auto gone = std::remove_if(acceptedTies_.begin(), acceptedTies_.end(),
                                     [depth](const tie::FixedTie& t) { return t.depth == depth; });
    if (gone == acceptedTies_.end()) {
        return;
    }
    acceptedTies_.erase(gone, acceptedTies_.end());
    emit acceptedTiesChanged();
}

void Workspace::clearAcceptedTies() {
    if (acceptedTies_.empty()) {
        return;
    }
    acceptedTies_.clear();
    emit acceptedTiesChanged();
}

const DepthVaryingResult& Workspace::depthVaryingResult() const {
    if (!depthVaryingTask_.result() || depthVaryingTask_.running()) {
        throw QuarvelError("There is no depth-varying tie: press Align first.");
    }
    return *depthVaryingTask_.result();
}

void Workspace::applyDepthVaryingTie() {
    const DepthVaryingResult& result = depthVaryingResult();
    if (applyTask_.running()) {
        throw QuarvelError("The last Apply is still measuring its coefficient.", ErrorKind::Busy);
    }
    if (result.logText != log_.savedText()) {
        throw QuarvelError("The log has changed since the depth-varying tie was measured: "
                           "press Measure and Align again.");
    }
    AppliedTie applied;
    applied.before = result.logCoefficient;
    const tie::TimeDepthRelation relation = result.tie.relation;
    log_.retimeVelocities([&relation](double depth) { return relation.twtAt(depth); });
    computeSynthetic();
    // The log applied measured as the bulk tie measured it, without the
    // surrogates: only its coefficient at its best shift is wanted.
    TieInputs inputs = tieInputs({}, {}, {});
    inputs.request.settings.surrogates = 0;
    applyTask_.start([request = inputs.request, applied](TaskProgress& progress) {
        AppliedTie done = applied;
        const tie::TieMeasurement after = tie::measureTie(request, reporting(progress));
        done.after = after.atFactorOne[after.bulkShift];
        return done;
    });
}

void Workspace::undoApply() {
    log_.undoApply();
    computeSynthetic();
}

void Workspace::exportDepthVaryingTable(const std::filesystem::path& path) const {
    const DepthVaryingResult& result = depthVaryingResult();
    writeTextFile(path, tie::depthVaryingCsv(result.tie, result.request));
}

void Workspace::exportCorrectedLog(const std::filesystem::path& path) const {
    const DepthVaryingResult& result = depthVaryingResult();
    const tie::TimeDepthRelation& relation = result.tie.relation;
    const std::string text =
        log_.retimedText([&relation](double depth) { return relation.twtAt(depth); });
    LasExport las;
    las.records = readLogFileRecords(text, "log.dat").records;
    las.factorSource = "depth-varying tie, p = " + numbers::formatFixed(result.tie.nullPValue, 4);
    las.well = "log.dat";
    las.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    writeLasFile(path, las);
}

} // namespace quarvel
