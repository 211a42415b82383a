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

void LogModel::saved(std::string logDat) {
    savedText_ = std::move(logDat);
    edited_ = false;
}

std::optional<std::vector<std::string>> LogModel::load(const std::filesystem::path& fileName,
                                                       LogImportQuestions& questions) {
    auto imported = importLogFile(fileName, questions);
    if (!imported) {
        return std::nullopt;
    }
    LogGrid loaded = grid_;
    ClearLog(loaded);
    LoadLog(loaded, imported->gridText, fileName.string());
    std::string logDat = SaveLog(loaded);
    replace(std::move(loaded), std::move(logDat), LogSaved | NewLog);
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
    ClearLog(grid_);
    edited_ = true;
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
    emit changed(GridReplaced);
    return loadLogNotices(result, logDat.string());
}

void LogModel::scaleVelocities(double factor) {
    if (logSeriesLength(grid_) == 0) {
        throw QuarvelError("There is no log to scale the velocities of. Load a log in the data "
                           "editor first.");
    }
    if (edited_) {
        throw QuarvelError("The log in the data editor holds edits that were not saved, so the "
                           "tie did not measure them. Save the log, press Calc. Synthetic and "
                           "measure again.");
    }
    LogGrid scaled = grid_;
    quarvel::scaleVelocities(scaled, factor);
    std::string logDat = SaveLog(scaled);
    replace(std::move(scaled), std::move(logDat), LogSaved);
}

} // namespace quarvel
