#pragma once

#include "editor/log_grid.h"
#include "survey/log_import.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

class LogImportQuestions;

// A log file made ready for the data editor's grid and for "log.dat": the
// one import the window's Load and quarvel-synth's --log share.
struct ImportedLog {
    // Three numbers a line, as the grid loads them.
    std::string gridText;
    // log.dat as SaveLog writes it from that grid.
    std::string logDat;
    LoadLogResult result;
    // What the user is told: what the conversion did, what was left out.
    std::vector<std::string> notices;
};

// Reads a log file: a plain log (blanks, or commas, between its numbers) as
// it stands; a LAS file or a table with a row of column names through the
// questions (columns, units, cleaning) and the conversion. A log whose depths
// decrease throughout is turned over. Nothing when an answer cancelled it.
// Throws "Cannot open file ..." when the file cannot be read or is not text,
// "The log file ... is empty." when it holds nothing; the caller's grid and log.dat are not touched
// in any case.
// Rows not deeper than the last row kept are left out of the grid and
// log.dat, so log.dat always holds depths that increase from 0 on; a negative
// velocity or density, a magnitude no core has, and more records than a log
// holds are refused, naming the row and the column.
// `runs` says who fills the runs of missing values a table's import leaves.
std::optional<ImportedLog> importLogFile(const std::filesystem::path& fileName,
                                         LogImportQuestions& questions,
                                         RunsOfMissing runs = RunsOfMissing::ForInterpolateSeries);

// The same from the file's whole text; `name` names it in messages.
std::optional<ImportedLog> importLogText(std::string_view content, const std::string& name,
                                         LogImportQuestions& questions,
                                         RunsOfMissing runs = RunsOfMissing::ForInterpolateSeries);

// What the user is told after a log file was loaded: records left out,
// entries that were not numbers, rows log.dat leaves out and why. Empty when all went well.
std::vector<std::string> loadLogNotices(const LoadLogResult& result, std::string_view fileName);

} // namespace quarvel
