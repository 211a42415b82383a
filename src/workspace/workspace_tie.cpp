// The workspace's part of the tie: the tie points kept from the marks, their
// export, the log's time-depth table and where the synthetic's time 0 lies.
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "tie/time_depth.h"
#include "workspace/workspace.h"

#include <utility>

namespace quarvel {

void Workspace::setTimeZero(MathFun::TimeZero timeZero) {
    if (timeZero == timeZero_) {
        return;
    }
    timeZero_ = timeZero;
    emit timeZeroChanged();
}

void Workspace::addTiePoint(tie::TiePoint point) {
    tiePoints_.push_back(std::move(point));
    emit tiePointsChanged();
}

void Workspace::clearTiePoints() {
    if (tiePoints_.empty()) {
        return;
    }
    tiePoints_.clear();
    emit tiePointsChanged();
}

void Workspace::exportTiePoints(const std::filesystem::path& path) const {
    writeTextFile(path, tie::tiePointsCsv(tiePoints_));
}

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

} // namespace quarvel
