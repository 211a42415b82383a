// Log files: any bytes either load into the grid (within its capacity) or are
// refused with the program's message and leave the grid as it was; a loaded
// grid saves to "log.dat" text or is refused with the program's message, and
// Interpolate Series runs on whatever was saved.
#include "editor/interpolation.h"
#include "editor/log_grid.h"
#include "formats/quarvel_error.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
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
