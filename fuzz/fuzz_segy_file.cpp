// SEG-Y files: any bytes are either not SEG-Y, or open with a layout the
// trace panel can hold and give their first and last traces as listings and
// a section, or are refused with the program's message.
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "survey/section_raster.h"
#include "survey/segy_load.h"
#include "survey/segy_reader.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

const std::filesystem::path& scratchFile() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("quarvel-fuzz-segy-" + std::to_string(getpid()) + ".sgy");
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!quarvel::looksLikeSegy(bytes.substr(0, quarvel::SegyHeadSize))) {
        return 0;
    }
    try {
        quarvel::writeTextFile(scratchFile(), bytes);
        quarvel::SegyReader reader(scratchFile());
        const quarvel::SegyLayout& layout = reader.layout();
        if (layout.traceCount < 1 || layout.samplesPerTrace < 1 ||
            layout.samplesPerTrace > quarvel::SegyMaxSamples) {
            __builtin_trap();
        }
        for (const int index : {0, layout.traceCount - 1}) {
            const quarvel::SegyTrace trace = reader.readTrace(index);
            if (static_cast<int>(trace.amplitudes.size()) > quarvel::SegyMaxSamples) {
                __builtin_trap();
            }
            quarvel::traceListingText(trace);
        }
        // The whole road of the trace window: headers, choice, stack, pick.
        quarvel::SegyLoadRequest request;
        request.stack = 1;
        request.seaFloor = quarvel::SeaFloorMode::Auto;
        quarvel::loadSegyTrace(reader, reader.traceHeaders(), request);
        // The section window's road: a small section, flattened, coloured.
        quarvel::SectionRequest section;
        section.width = 8;
        section.height = 8;
        section.flatten = true;
        const quarvel::SegySection built = quarvel::buildSegySection(reader, section);
        if (built.values.size() != 64) {
            __builtin_trap();
        }
        quarvel::sectionPixels(built, {});
    } catch (const quarvel::QuarvelError&) {
        // A damaged or foreign file: refused with a message.
    }
    return 0;
}
