// Log files: any bytes load into the grid (within its capacity), the grid
// saves to "log.dat" text or is refused with the program's message, and
// Interpolate Series runs on whatever was saved.
#include "editor/interpolation.h"
#include "editor/log_grid.h"
#include "formats/quarvel_error.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    quarvel::LogGrid grid;
    const quarvel::LoadLogResult loaded = quarvel::LoadLog(grid, in, "log");
    if (loaded.records < 0 || loaded.records >= grid.rowCount() ||
        grid.rowCount() > quarvel::LogGridMaxRows) {
        __builtin_trap();
    }
    try {
        const std::string logDat = quarvel::SaveLog(grid);
        const std::string filled = quarvel::interpolateLogText(logDat);
        // Filling gaps never adds or drops a record.
        std::istringstream before(logDat);
        std::istringstream after(filled);
        if (quarvel::readLogRecords(before).size() != quarvel::readLogRecords(after).size()) {
            __builtin_trap();
        }
    } catch (const quarvel::QuarvelError&) {
        // A cell that is not a plain number: refused with a message.
    }
    return 0;
}
