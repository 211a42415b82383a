// The workspace's part of the tie: the commands that span the tie and the
// log, and the log's time-depth table.
#include "document/workspace.h"
#include "formats/quarvel_error.h"
#include "tie/time_depth.h"

namespace quarvel {

std::string Workspace::timeDepthCsv() const {
    if (state_.NoLogLoaded || state_.LogTable.empty()) {
        throw QuarvelError("There is no log to make a time-depth table from. Load a log in the "
                           "data editor first.");
    }
    std::vector<double> depths;
    std::vector<double> velocities;
    depths.reserve(state_.LogTable.size());
    velocities.reserve(state_.LogTable.size());
    for (const LogRecord& record : state_.LogTable) {
        depths.push_back(record.Depth);
        velocities.push_back(record.Velocity);
    }
    return tie::timeDepthCsv(tie::timeDepthTable(depths, velocities));
}

double Workspace::applyBulkTie() {
    const double factor = tie_.applicableFactor();
    log_.scaleVelocities(factor);
    return factor;
}

void Workspace::applyDepthVaryingTie() {
    const DepthVaryingResult& result = tie_.applicableTie();
    const double before = result.logCoefficient;
    const tie::TimeDepthRelation relation = result.tie.relation;
    log_.retimeVelocities([&relation](double depth) { return relation.twtAt(depth); });
    computeSynthetic();
    tie_.measureApplied(before);
}

void Workspace::undoApply() {
    log_.undoApply();
    computeSynthetic();
}

} // namespace quarvel
