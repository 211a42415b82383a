#pragma once

#include "editor/log_grid.h"
#include "platform/work_dir.h"

#include <QFlags>
#include <QObject>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarvel {

class LogImportQuestions;

// The core's log as the document holds it: the grid of texts the user loads
// and types (row 0 the headings, rows 1 ... the log series), and the working
// file "log.dat" made from it. Every command that writes "log.dat" writes it
// whole or not at all, and changes the grid only once the file is written;
// each announces what it changed with one changed() signal, a typed cell
// with cellEdited(). Nothing here shows anything: notices are returned.
class LogModel : public QObject {
    Q_OBJECT
public:
    enum Change {
        // The grid was replaced as a whole.
        GridReplaced = 1,
        // "log.dat" was written and is the log to show now.
        LogSaved = 2,
        // A log file was loaded: a new log, not an edit of the last one.
        NewLog = 4,
    };
    Q_DECLARE_FLAGS(Changes, Change)

    explicit LogModel(WorkDir workDir, QObject* parent = nullptr);

    const LogGrid& grid() const { return grid_; }
    // Whether the grid holds edits that "log.dat" was not written from, or
    // "log.dat" was never written from this grid.
    bool edited() const { return edited_; }

    // The text of "log.dat" as the last Load, Save, Save as or Apply wrote it:
    // the log the panels show.
    const std::string& savedText() const { return savedText_; }

    // The log file last loaded (empty when none), and whether "Interpolate
    // Series" has run on it since.
    const std::filesystem::path& source() const { return source_; }
    bool interpolated() const { return interpolated_; }

    // A cell as typed; nothing is written until Save.
    void setCell(int row, int column, const std::string& text);

    // Whether to empty the rows below a loaded log that would join it (its
    // first row and how many): rows whose depth cell holds text.
    using ClearJoiningRows = std::function<bool(int firstRow, int rows)>;

    // Load: reads a log file through the import (asking its questions),
    // writes "log.dat" and replaces the grid; the rows below the loaded log
    // keep their text unless `clearJoining` empties those that would join
    // it. Nothing when an answer cancelled it; otherwise what the user
    // should be told. A file that cannot be read or used changes nothing.
    std::optional<std::vector<std::string>> load(const std::filesystem::path& fileName,
                                                 LogImportQuestions& questions,
                                                 const ClearJoiningRows& clearJoining = {});
    // Save and Refresh Graph: "log.dat" from the grid's log series.
    void save();
    // Save as: the grid's log series into the file and into "log.dat", both
    // or neither.
    void saveAs(const std::filesystem::path& fileName);
    // Clear: empties every cell that holds text, so that nothing left below
    // the log joins the next one; no file is written.
    void clear();
    // Whether there is a "log.dat" to interpolate.
    bool hasLogFile() const;
    // Interpolate Series: fills the gaps of "log.dat" (not of the grid) and
    // reloads the grid from it; the rows below keep their text. Returns what
    // the user should be told about the reload. The panels keep the log they
    // show until the next Save or Refresh Graph.
    std::vector<std::string> interpolate();
    // No log at all, as at start-up: a blank grid and no "log.dat".
    void discard();
    // The tie's "Apply": every velocity of the log multiplied by the factor,
    // as if typed, and "log.dat" written from it. Refused, changing nothing,
    // when there is no log or the grid holds edits the tie did not measure.
    void scaleVelocities(double factor);
    // The depth-varying tie's "Apply": every interval of the log given the
    // velocity that makes its two-way time the relation's (twtMs: depth in m
    // to ms), as if typed, and "log.dat" written from it. Refused as
    // scaleVelocities is.
    void retimeVelocities(const std::function<double(double depth)>& twtMs);
    // The text "log.dat" would hold after retimeVelocities, for exporting
    // the corrected log without applying it. Refused as that is.
    std::string retimedText(const std::function<double(double depth)>& twtMs) const;
    // Whether the last command was an Apply that Undo can take back.
    bool canUndoApply() const { return beforeApply_.has_value(); }
    // Undo: the grid and "log.dat" as they were before the last Apply.
    // Throws when the last command was not an Apply.
    void undoApply();

signals:
    void cellEdited(int row, int column);
    void changed(quarvel::LogModel::Changes changes);

private:
    void replace(LogGrid grid, std::string logDat, Changes changes);
    void saved(std::string logDat);
    // Throws unless the grid holds a log that "log.dat" was written from.
    void checkApplicable(const char* what) const;
    void apply(LogGrid changed);

    struct Snapshot {
        LogGrid grid;
        std::string logDat;
    };

    WorkDir workDir_;
    LogGrid grid_;
    bool edited_ = true;
    std::string savedText_;
    // The log before the last Apply, while nothing else has changed it.
    std::optional<Snapshot> beforeApply_;
    std::filesystem::path source_;
    bool interpolated_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(LogModel::Changes)

} // namespace quarvel
