#include "editor/log_import.h"

#include "editor/listing_file.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <sstream>

namespace quarvel {

ImportedLog importLogFile(const std::filesystem::path& fileName) {
    std::istringstream in(readLogFile(fileName));
    LogGrid grid;
    ImportedLog imported;
    imported.result = LoadLog(grid, in);
    imported.logDat = SaveLog(grid);
    return imported;
}

std::vector<std::string> loadLogNotices(const LoadLogResult& result, std::string_view fileName) {
    std::vector<std::string> notices;
    if (result.truncated) {
        const std::string capacity = numbers::formatInteger(LogCapacity);
        notices.push_back(formatMessage("The log file \"%s\" holds more than %s records: only the "
                                        "first %s were loaded, the rest was left out.",
                                        {fileName, capacity, capacity}));
    }
    if (result.nonNumericEntries > 0) {
        notices.push_back(
            formatMessage("%s entries of the log file \"%s\" are not numbers; they were read as "
                          "0 or up to their first character that is not part of a number.",
                          {numbers::formatInteger(result.nonNumericEntries), fileName}));
    }
    return notices;
}

} // namespace quarvel
