// The depth-varying tie: the alignment and the tie points it is held to,
// the measurement after an Apply, and the exports.
#include "document/log_model.h"
#include "document/series_model.h"
#include "document/tie_model.h"
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

bool byDepth(const tie::FixedTie& a, const tie::FixedTie& b) {
    return a.depth < b.depth;
}

tie::TieProgress reporting(TaskProgress& progress) {
    return [&progress](double done) {
        progress.report(done);
        return !progress.cancelRequested();
    };
}

} // namespace

void TieModel::startDepthVaryingTie(const std::string& velocityLimitPct) {
    tie::WarpLimits limits;
    limits.velocityChange = tie::velocityLimitFromText(velocityLimitPct, "The velocity limit");
    startAlignment(alignmentStart(limits, acceptedTies_));
}

DepthVaryingResult TieModel::alignmentStart(const tie::WarpLimits& limits,
                                            std::vector<tie::FixedTie> accepted) const {
    const std::optional<tie::TieMeasurement>& bulk = tieTask_.result();
    if (!bulk || tieTask_.running()) {
        throw QuarvelError("The depth-varying tie starts from the bulk tie: press Measure first.");
    }
    if (measured_.logText != log_.savedText()) {
        throw QuarvelError("The log has changed since the bulk tie was measured: press Measure "
                           "again first.");
    }
    if (!measuredTraceOnShow()) {
        throw QuarvelError("The trace has changed since the bulk tie was measured: press "
                           "Measure again first.");
    }
    DepthVaryingResult start;
    start.logText = measured_.logText;
    start.logCoefficient = bulk->atFactorOne[bulk->bulkShift];
    start.request = tie::depthVaryingRequest(*measured_.request.synthesiser, measured_.log, *bulk,
                                             measured_.request.trace, limits);
    std::vector<tie::FixedTie>& fixed = start.request.warp.fixed;
    fixed = std::move(accepted);
    // A trace time picked with Shift+click says where the event is; one the
    // marks only estimated says nothing the alignment should be held to.
    for (const tie::TiePoint& point : tiePoints_) {
        const std::optional<double> depth = numbers::tryParseNumber(point.depthText);
        if (depth && point.traceTwt && std::abs(*point.traceTwt - point.estTwt) > 1e-9) {
            fixed.push_back({*depth, *point.traceTwt / 1000});
        }
    }
    std::sort(fixed.begin(), fixed.end(), byDepth);
    // Tie points out of order or beyond the limit are refused here, before
    // anything changes, rather than by the task.
    [[maybe_unused]] const tie::Warper checked(start.request.warp);
    return start;
}

void TieModel::startAlignment(DepthVaryingResult start) {
    depthVaryingTask_.start([start = std::move(start)](TaskProgress& progress) {
        DepthVaryingResult result = start;
        result.tie = tie::tieDepthVarying(result.request, reporting(progress));
        return result;
    });
    alignmentDropped_ = false;
}

void TieModel::traceRead() {
    // A trace other than the one Measure compared is a new trace.
    if (!measuredTraceOnShow()) {
        dropDepthVaryingTie("on the last trace", true);
    }
}

void TieModel::aligned() {
    if (alignmentDropped_) {
        return;
    }
    depthVarying_ = depthVaryingTask_.result();
    emit depthVaryingChanged();
}

void TieModel::dropDepthVaryingTie(const char* why, bool accepted) {
    const std::size_t points = accepted ? acceptedTies_.size() : 0;
    const bool held = depthVarying_.has_value() || depthVaryingTask_.running();
    if (depthVaryingTask_.running()) {
        alignmentDropped_ = true;
        depthVaryingTask_.cancel();
    }
    if (depthVarying_) {
        depthVarying_.reset();
        emit depthVaryingChanged();
    }
    if (accepted) {
        clearAcceptedTies();
    }
    if (!why || (!held && points == 0)) {
        return;
    }
    const QString tiePoints = QStringLiteral("%1 accepted tie point%2")
                                  .arg(points)
                                  .arg(points == 1 ? QString() : QStringLiteral("s"));
    QString what = QStringLiteral("The depth-varying tie");
    if (points > 0) {
        what = held ? what + QStringLiteral(" and its ") + tiePoints
                    : QStringLiteral("The ") + tiePoints;
    }
    const bool one = held ? points == 0 : points == 1;
    emit notice(QStringLiteral("%1 %2 made %3; %4 dropped: press Align again.")
                    .arg(what, one ? QStringLiteral("was") : QStringLiteral("were"),
                         QLatin1String(why),
                         one ? QStringLiteral("it was") : QStringLiteral("they were")));
}

void TieModel::restoreDepthVaryingTie(std::vector<tie::FixedTie> accepted,
                                      tie::TimeDepthRelation relation) {
    acceptedTies_ = std::move(accepted);
    std::sort(acceptedTies_.begin(), acceptedTies_.end(), byDepth);
    emit acceptedTiesChanged();
    if (relation.empty()) {
        return;
    }
    DepthVaryingResult restored;
    restored.fromSession = true;
    restored.logText = log_.savedText();
    restored.tie.relation = std::move(relation);
    restored.request.warp.fixed = acceptedTies_;
    depthVarying_ = std::move(restored);
    emit depthVaryingChanged();
}

void TieModel::moveDepthVaryingTie(double depth, double traceMs) {
    if (!depthVarying_ || depthVarying_->fromSession) {
        throw QuarvelError("Moving a tie point aligns again from the last alignment: press "
                           "Measure and Align first.");
    }
    if (depthVaryingTask_.running()) {
        throw QuarvelError("The alignment is still running.", ErrorKind::Busy);
    }
    std::vector<tie::FixedTie> accepted = acceptedTies_;
    std::erase_if(accepted, [depth](const tie::FixedTie& t) { return t.depth == depth; });
    accepted.push_back({depth, traceMs / 1000});
    std::sort(accepted.begin(), accepted.end(), byDepth);
    DepthVaryingResult start = alignmentStart(depthVarying_->request.warp.limits, accepted);
    acceptedTies_ = std::move(accepted);
    emit acceptedTiesChanged();
    startAlignment(std::move(start));
}

void TieModel::acceptTie(tie::FixedTie point) {
    removeAcceptedTie(point.depth);
    acceptedTies_.insert(
        std::upper_bound(acceptedTies_.begin(), acceptedTies_.end(), point, byDepth), point);
    emit acceptedTiesChanged();
}

void TieModel::removeAcceptedTie(double depth) {
    const auto gone = std::remove_if(acceptedTies_.begin(), acceptedTies_.end(),
                                     [depth](const tie::FixedTie& t) { return t.depth == depth; });
    if (gone == acceptedTies_.end()) {
        return;
    }
    acceptedTies_.erase(gone, acceptedTies_.end());
    emit acceptedTiesChanged();
}

void TieModel::clearAcceptedTies() {
    if (acceptedTies_.empty()) {
        return;
    }
    acceptedTies_.clear();
    emit acceptedTiesChanged();
}

const DepthVaryingResult& TieModel::depthVaryingResult() const {
    if (!depthVarying_ || depthVaryingTask_.running()) {
        throw QuarvelError("There is no depth-varying tie: press Align first.");
    }
    return *depthVarying_;
}

const DepthVaryingResult& TieModel::applicableTie() const {
    const DepthVaryingResult& result = depthVaryingResult();
    if (result.fromSession) {
        throw QuarvelError("The depth-varying tie kept in the session has not been tested on "
                           "this trace: press Measure and Align before Apply.");
    }
    if (applyTask_.running()) {
        throw QuarvelError("The last Apply is still measuring its coefficient.", ErrorKind::Busy);
    }
    if (result.logText != log_.savedText()) {
        throw QuarvelError("The log has changed since the depth-varying tie was measured: "
                           "press Measure and Align again.");
    }
    return result;
}

void TieModel::measureApplied(double before) {
    // The log applied measured as the bulk tie measured it, without the
    // surrogates: only its coefficient at its best shift is wanted.
    TieInputs inputs = tieInputs({}, {}, {});
    inputs.request.settings.surrogates = 0;
    applyTask_.start([request = inputs.request, before](TaskProgress& progress) {
        AppliedTie done{before};
        const tie::TieMeasurement after = tie::measureTie(request, reporting(progress));
        done.after = after.atFactorOne[after.bulkShift];
        return done;
    });
}

void TieModel::exportDepthVaryingTable(const std::filesystem::path& path) const {
    const DepthVaryingResult& result = depthVaryingResult();
    // A relation a session kept comes without the numbers of its alignment.
    writeTextFile(path, result.fromSession
                            ? tie::relationCsv(result.tie.relation,
                                               {"Quarvel depth-varying tie kept in a session: "
                                                "depth below the core top (m), two-way time "
                                                "below the sea floor on the trace (ms)"})
                            : tie::depthVaryingCsv(result.tie, result.request));
}

void TieModel::exportCorrectedLog(const std::filesystem::path& path) const {
    const DepthVaryingResult& result = depthVaryingResult();
    const tie::TimeDepthRelation& relation = result.tie.relation;
    const std::string text =
        log_.retimedText([&relation](double depth) { return relation.twtAt(depth); });
    LasExport las;
    las.records = readLogFileRecords(text, "log.dat").records;
    las.factorSource = result.fromSession ? "depth-varying tie kept in a session"
                                          : "depth-varying tie, p = " +
                                                numbers::formatFixed(result.tie.nullPValue, 4);
    las.well = "log.dat";
    las.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    writeLasFile(path, las);
}

} // namespace quarvel
