// Log files: any bytes either load into the grid (within its capacity) or are
// refused with the program's message and leave the grid as it was; a loaded
// grid saves to "log.dat" text or is refused with the program's message, and
// Interpolate Series runs on whatever was saved. The import of the same
// bytes gives a log.dat whose depths increase from above 0 and whose values
// are not negative, or is refused with the program's message.
#include "editor/interpolation.h"
#include "editor/log_grid.h"
#include "editor/log_import.h"
#include "formats/quarvel_error.h"
#include "survey/log_import_questions.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// A plain log asks nothing; fuzz_survey_log answers the tables' questions.
class NoQuestions : public quarvel::LogImportQuestions {
public:
    std::optional<int> column(quarvel::LogRole, const quarvel::ColumnTable&, int) override {
        return std::nullopt;
    }
    std::optional<quarvel::LogUnit> unit(quarvel::LogRole, const quarvel::TableColumn&,
                                         const std::optional<quarvel::LogUnit>&) override {
        return std::nullopt;
    }
    std::optional<quarvel::CleaningRules> cleaning(const quarvel::CleaningQuestion&) override {
        return std::nullopt;
    }
};

void checkImport(std::string_view text) {
    NoQuestions none;
    std::optional<quarvel::ImportedLog> imported;
    try {
        imported = quarvel::importLogText(text, "log", none);
    } catch (const quarvel::QuarvelError&) {
        return;
    }
    if (!imported) {
        return;
    }
    double above = 0.0;
    for (const quarvel::LogRecord& record : quarvel::readLogRecords(imported->logDat)) {
        if (!(record.Depth > above) || record.Velocity < 0 || record.Density < 0) {
            __builtin_trap();
        }
        above = record.Depth;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkImport(text);
    quarvel::LogGrid grid;
    const int emptyRows = grid.rowCount();
    quarvel::LoadLogResult loaded;
    try {
        loaded = quarvel::LoadLog(grid, text, "log");
    } catch (const quarvel::QuarvelError&) {
        if (grid.rowCount() != emptyRows) {
            __builtin_trap();
        }
        return 0;
    }
    if (loaded.records < 0 || loaded.records >= grid.rowCount() ||
        grid.rowCount() > quarvel::LogGridMaxRows) {
        __builtin_trap();
    }
    try {
        const std::string logDat = quarvel::SaveLog(grid);
        const std::string filled = quarvel::interpolateLogText(logDat);
        // Filling gaps never adds or drops a record.
        if (quarvel::readLogRecords(logDat).size() != quarvel::readLogRecords(filled).size()) {
            __builtin_trap();
        }
    } catch (const quarvel::QuarvelError&) {
        // A cell that is not a plain number: refused with a message.
    }
    return 0;
}
