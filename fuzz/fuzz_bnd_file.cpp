// Boundary files (".BND"): any bytes either load as eight texts that write
// back to a file reading the same, or are refused with the program's message.
#include "calibration/boundaries.h"
#include "formats/quarvel_error.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const quarvel::Boundaries loaded = quarvel::parseBoundaryText(text, "fuzz.BND");
        const std::string saved = quarvel::boundaryFileText(loaded);
        if (!(quarvel::parseBoundaryText(saved, "fuzz.BND") == loaded)) {
            __builtin_trap();
        }
    } catch (const quarvel::QuarvelError&) {
        // Refused with a message: what the user sees for a file that is not one.
    }
    return 0;
}
