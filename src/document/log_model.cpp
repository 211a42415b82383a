#include "document/log_model.h"

#include "editor/interpolation.h"
#include "editor/log_import.h"
#include "formats/log_file.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <utility>

namespace quarvel {

LogModel::LogModel(WorkDir workDir, QObject* parent)
    : QObject(parent), workDir_(std::move(workDir)) {}

void LogModel::setCell(int row, int column, const std::string& text) {
    if (grid_.cell(row, column) == text) {
        return;
    }
    grid_.setCell(row, column, text);
    edited_ = true;
    beforeApply_.reset();
    emit cellEdited(row, column);
}

// The new grid and its log.dat are made aside by the caller; only once the
// file is written does the grid follow it.
void LogModel::replace(LogGrid grid, std::string logDat, Changes changes) {
    writeTextFile(workDir_.file("log.dat"), logDat);
    grid_ = std::move(grid);
    saved(std::move(logDat));
    emit changed(changes | GridReplaced);
}

// Whatever else changes the log, Undo no longer means the Apply before it.
void LogModel::saved(std::string logDat) {
    beforeApply_.reset();
    savedText_ = std::move(logDat);
    edited_ = false;
}

std::optional<std::vector<std::string>> LogModel::load(const std::filesystem::path& fileName,
                                                       LogImportQuestions& questions,
                                                       const ClearJoiningRows& clearJoining) {
    auto imported = importLogFile(fileName, questions);
    if (!imported) {
        return std::nullopt;
    }
    LogGrid loaded = grid_;
    ClearLog(loaded);
    const int placed = LoadLog(loaded, imported->gridText, fileName.string()).records;
    // A row left below with text in its depth cell would run on the new log.
    const int joining = logSeriesLength(loaded) - placed;
    if (joining > 0 && clearJoining && clearJoining(placed + 1, joining)) {
        for (int row = placed + 1; row <= placed + joining; ++row) {
            for (int column = 0; column < LogGridColumns; ++column) {
                loaded.setCell(row, column, {});
            }
        }
    }
    std::string logDat = SaveLog(loaded);
    replace(std::move(loaded), std::move(logDat), LogSaved | NewLog);
    source_ = fileName;
    interpolated_ = false;
    return std::move(imported->notices);
}

void LogModel::save() {
    std::string text = SaveLog(grid_);
    writeTextFile(workDir_.file("log.dat"), text);
    saved(std::move(text));
    emit changed(LogSaved);
}

void LogModel::saveAs(const std::filesystem::path& fileName) {
    std::string text = SaveLog(grid_);
    writeTextFiles({{fileName, text}, {workDir_.file("log.dat"), text}});
    saved(std::move(text));
    emit changed(LogSaved);
}

void LogModel::clear() {
    grid_ = LogGrid();
    edited_ = true;
    beforeApply_.reset();
    emit changed(GridReplaced);
}

void LogModel::discard() {
    const std::filesystem::path logDat = workDir_.file("log.dat");
    std::error_code ec;
    std::filesystem::remove(logDat, ec);
    if (ec) {
        throwCannotCreate(logDat.string(), ec.message());
    }
    grid_ = LogGrid();
    savedText_.clear();
    beforeApply_.reset();
    source_.clear();
    interpolated_ = false;
    edited_ = true;
    emit changed(GridReplaced);
}

bool LogModel::hasLogFile() const {
    std::error_code ec;
    return std::filesystem::exists(workDir_.file("log.dat"), ec);
}

std::vector<std::string> LogModel::interpolate() {
    const std::filesystem::path logDat = workDir_.file("log.dat");
    const std::string text = interpolateLogText(readTextFile(logDat));
    LogGrid reloaded = grid_;
    const LoadLogResult result = LoadLog(reloaded, readLogFileRecords(text, logDat.string()));
    // The grid shows the file as it now stands, but the panels still show the
    // log of the last Save or Refresh Graph, and the grid's texts are not
    // what log.dat was written from until the next Save.
    writeTextFile(logDat, text);
    grid_ = std::move(reloaded);
    edited_ = true;
    beforeApply_.reset();
    interpolated_ = true;
    emit changed(GridReplaced);
    return loadLogNotices(result, logDat.string());
}

void LogModel::checkApplicable(const char* what) const {
    if (logSeriesLength(grid_) == 0) {
        throw QuarvelError(std::string("There is no log to ") + what +
                           ". Load a log in the data editor first.");
    }
    if (edited_) {
        throw QuarvelError("The log in the data editor holds edits that were not saved, so the "
                           "tie did not measure them. Save the log, press Calc. Synthetic and "
                           "measure again.");
    }
}

// The changed grid is made aside; the one before is kept for Undo only once
// the file is written.
void LogModel::apply(LogGrid changed) {
    Snapshot before{grid_, savedText_};
    std::string logDat = SaveLog(changed);
    replace(std::move(changed), std::move(logDat), LogSaved);
    beforeApply_ = std::move(before);
}

void LogModel::scaleVelocities(double factor) {
    checkApplicable("scale the velocities of");
    LogGrid scaled = grid_;
    quarvel::scaleVelocities(scaled, factor);
    apply(std::move(scaled));
}

void LogModel::retimeVelocities(const std::function<double(double depth)>& twtMs) {
    checkApplicable("retime");
    LogGrid retimed = grid_;
    quarvel::retimeVelocities(retimed, twtMs);
    apply(std::move(retimed));
}

std::string LogModel::retimedText(const std::function<double(double depth)>& twtMs) const {
    checkApplicable("retime");
    LogGrid retimed = grid_;
    quarvel::retimeVelocities(retimed, twtMs);
    return SaveLog(retimed);
}

void LogModel::undoApply() {
    if (!beforeApply_) {
        throw QuarvelError("There is no Apply to undo: the log has changed since, or it was "
                           "never applied.");
    }
    Snapshot before = *beforeApply_;
    replace(std::move(before.grid), std::move(before.logDat), LogSaved);
}

} // namespace quarvel
