// Core-logger files (LAS, MSCL and other tables with column names): any
// bytes are recognised as one kind of log, and a table goes through the
// whole import (proposed columns and units, proposed cleaning, conversion,
// filling) into text the log grid loads, or is refused with the program's
// message. A wide table must not take memory beyond its size.
#include "editor/log_grid.h"
#include "formats/quarvel_error.h"
#include "survey/log_import_questions.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Takes every proposal, as a user pressing OK throughout would.
class Proposals : public quarvel::LogImportQuestions {
public:
    std::optional<int> column(quarvel::LogRole, const quarvel::ColumnTable&,
                              int proposed) override {
        return proposed;
    }
    std::optional<quarvel::LogUnit> unit(quarvel::LogRole, const quarvel::TableColumn&,
                                         const std::optional<quarvel::LogUnit>& proposed) override {
        return proposed.value_or(quarvel::LogUnit{});
    }
    std::optional<quarvel::CleaningRules>
    cleaning(const quarvel::CleaningQuestion& question) override {
        return question.proposed;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const quarvel::LogFileKind kind = quarvel::logFileKind(text);
    if (kind == quarvel::LogFileKind::Plain) {
        return 0; // read straight into the grid; fuzz_log_file covers it
    }
    try {
        const quarvel::SurveyLog log = quarvel::readSurveyLog(kind, text, "fuzz.las");
        Proposals proposals;
        const auto converted = quarvel::importSurveyLog(log, proposals);
        if (!converted) {
            __builtin_trap();
        }
        quarvel::importSummary(*converted, log.notes, "fuzz.las");
        if (converted->records < 0 || converted->missingValues < 0 || converted->stillMissing < 0 ||
            converted->rowsWithoutDepth < 0) {
            __builtin_trap();
        }
        quarvel::LogGrid grid;
        const quarvel::LoadLogResult loaded = quarvel::LoadLog(grid, converted->text, "log");
        // Every converted record is three plain numbers the grid takes whole.
        if (loaded.nonNumericEntries != 0 ||
            (!loaded.truncated && loaded.records != converted->records)) {
            __builtin_trap();
        }
    } catch (const quarvel::QuarvelError&) {
        // A table with nothing to import: refused with a message.
    }
    return 0;
}
