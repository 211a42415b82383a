#include "document/calibration_model.h"

#include "formats/quarvel_error.h"
#include "probe/depth_twt.h"

#include <utility>
#include <variant>
#include <vector>

namespace quarvel {

namespace {

QString boundaryFileStatus(const std::string& fileName) {
    return QStringLiteral("BND File :") + QString::fromStdString(fileName);
}

} // namespace

void CalibrationModel::replace(const Boundaries& boundaries) {
    reports_.textsChanged(boundaries_, boundaries);
    boundaries_ = boundaries;
    emit changed();
}

void CalibrationModel::setBoundaries(const Boundaries& boundaries) {
    if (boundaries != boundaries_) {
        replace(boundaries);
    }
}

void CalibrationModel::setStatus(QString status) {
    status_ = std::move(status);
    emit statusChanged();
}

void CalibrationModel::photographLoaded(const std::filesystem::path& image) {
    // Whatever was wrong with the calibration is told again over this one.
    reports_.forget();
    boundaryFile_ = boundaryFileFor(image).string();
}

void CalibrationModel::tellFileProblems(const std::string& fileName) {
    const std::vector<BoundaryProblem> problems = boundaryProblems(boundaries_);
    if (problems.empty()) {
        return;
    }
    // Told here, the same problems do not come back on the next move.
    for (const BoundaryProblem& problem : problems) {
        reports_.tell(problem);
    }
    emit notice(QString::fromStdString(boundaryFileProblemsMessage(fileName, problems)));
}

bool CalibrationModel::UpdateBoundaries(int panelWidth, int panelHeight) {
    if (boundaryFileExists(boundaryFile_)) {
        replace(readBoundaryFile(boundaryFile_));
        setStatus(boundaryFileStatus(boundaryFile_));
        tellFileProblems(boundaryFile_);
        return true;
    }
    // No calibration yet: the whole core panel, to be corrected by hand.
    Boundaries proposed = boundaries_;
    proposed.xmin = std::string("1");
    proposed.xmax = std::to_string(panelWidth);
    proposed.ymin = std::string("1");
    proposed.ymax = std::to_string(panelHeight);
    replace(proposed);
    setStatus(QStringLiteral("BND File not found "));
    return false;
}

void CalibrationModel::load(const std::filesystem::path& path) {
    // A mistyped name would otherwise empty every field the user had.
    if (!boundaryFileExists(path)) {
        throwCannotOpen(path.string(), "No such file or directory.", ErrorKind::NotFound);
    }
    setBoundaries(readBoundaryFile(path));
    tellFileProblems(path.string());
}

void CalibrationModel::save(const std::filesystem::path& path) {
    writeBoundaryFile(path, boundaries_);
    // Only a file actually written becomes the current boundary file.
    boundaryFile_ = path.string();
    setStatus(boundaryFileStatus(boundaryFile_));
}

bool CalibrationModel::usable() const {
    return boundaryProblems(boundaries_).empty();
}

std::optional<PixelBounds> CalibrationModel::probeBounds() {
    auto converted = convertPixelBounds(boundaries_);
    if (const auto* problem = std::get_if<BoundaryProblem>(&converted)) {
        if (reports_.tell(*problem)) {
            throw QuarvelError(problem->message);
        }
        return std::nullopt;
    }
    return std::get<PixelBounds>(converted);
}

double CalibrationModel::probeDepth(int ymin, int ymax, long long dy, double previousDepth) const {
    return depth_twt::probeDepth(boundaries_.Top, boundaries_.Bottom, ymin, ymax, dy,
                                 previousDepth);
}

} // namespace quarvel
