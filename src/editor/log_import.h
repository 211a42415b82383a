#pragma once

#include "editor/log_grid.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// A log file turned into the text of "log.dat" exactly as the data editor's
// Load does it on a blank grid: LoadLog, then SaveLog.
struct ImportedLog {
    std::string logDat;
    LoadLogResult result;
};

// Throws "Cannot open file ..." when the file cannot be read or is not text.
ImportedLog importLogFile(const std::filesystem::path& fileName);

// What the user is told after a log file was loaded: records left out,
// entries that were not numbers. Empty when all went well.
std::vector<std::string> loadLogNotices(const LoadLogResult& result, std::string_view fileName);

} // namespace quarvel
