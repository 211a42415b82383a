#include "section_command.h"

#include "formats/numbers.h"
#include "formats/png_file.h"
#include "formats/text_file.h"
#include "option_numbers.h"
#include "platform/canvas.h"
#include "plot/section_picture.h"
#include "survey/section_raster.h"

#include <cstdint>
#include <vector>

namespace quarvel::synth {

void writeSegySection(const SegySectionOptions& options, std::ostream& out) {
    SectionSettings settings = sectionSettings(options);
    SectionRequest& request = settings.request;
    SectionStyle& style = settings.style;
    SegyReader reader(options.segy);
    const int traceCount = reader.layout().traceCount;
    if (!options.traces.empty()) {
        parseTraceRange(options.traces, traceCount, request);
    }
    if (!options.trace.empty()) {
        style.chosenTrace = wholeNumberOption("--trace", options.trace, 1, traceCount) - 1;
    }
    style.channels = reader.layout().channels;
    const SegySection section = buildSegySection(reader, request);
    const QImage picture = renderSectionPicture(
        section, style, settings.distance ? SectionAcross::Distance : SectionAcross::TraceNumber,
        Canvas::defaultFont());
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(picture.width()) * picture.height());
    for (int row = 0; row < picture.height(); ++row) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(picture.constScanLine(row));
        pixels.insert(pixels.end(), line, line + picture.width());
    }
    writeTextFile(options.out, pngBytes(picture.width(), picture.height(), pixels));
    const SectionColumn& first = section.columns.front();
    const SectionColumn& last = section.columns.back();
    out << "Section of traces " << first.trace + 1 << " to " << last.trace + 1 << " of "
        << traceCount << ", " << section.width << " columns by " << section.height << " rows, "
        << numbers::formatFixed(section.firstTimeMs, 3) << " to "
        << numbers::formatFixed(section.lastTimeMs, 3) << " ms"
        << (section.flattened ? " from the sea floor" : "") << "; full strength at "
        << numbers::formatSignificant(sectionClip(section, style.clipPercent), 6) << " (the "
        << numbers::formatSignificant(style.clipPercent, 4) << "th percentile).\nWrote "
        << options.out << "\n";
}

} // namespace quarvel::synth
