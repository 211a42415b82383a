// Core-logger files (LAS, Geotek MSCL): any bytes are recognised as one kind
// of log, and a LAS or MSCL table goes through the whole import (proposed
// columns, default cleaning, unit conversion) into text the log grid loads,
// or is refused with the program's message.
#include "editor/log_grid.h"
#include "formats/quarvel_error.h"
#include "survey/log_import.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const quarvel::LogFileKind kind = quarvel::logFileKind(text);
    if (kind == quarvel::LogFileKind::Plain) {
        return 0; // read straight into the grid; fuzz_log_file covers it
    }
    try {
        const quarvel::SurveyLog log = quarvel::readSurveyLog(kind, text, "fuzz.las");
        const quarvel::ColumnChoice choice = quarvel::proposeColumns(log.table);
        const quarvel::ConvertedLog converted = quarvel::convertLog(
            log.table, choice, quarvel::defaultCleaningRules(log.table, choice));
        quarvel::importSummary(converted, log.notes, "fuzz.las");
        if (converted.records < 0 || converted.missingValues < 0 ||
            converted.cleanedVelocities < 0 || converted.rowsWithoutDepth < 0) {
            __builtin_trap();
        }
        std::istringstream in(converted.text);
        quarvel::LogGrid grid;
        const quarvel::LoadLogResult loaded = quarvel::LoadLog(grid, in);
        // Every converted record is three plain numbers the grid takes whole.
        if (loaded.nonNumericEntries != 0 ||
            (!loaded.truncated && loaded.records != converted.records)) {
            __builtin_trap();
        }
    } catch (const quarvel::QuarvelError&) {
        // A table with nothing to import: refused with a message.
    }
    return 0;
}
