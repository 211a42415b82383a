#include "survey/section_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quarvel {
namespace {

std::uint32_t rgb(int red, int green, int blue) {
    return 0xFF000000U | (static_cast<std::uint32_t>(red) << 16) |
           (static_cast<std::uint32_t>(green) << 8) | static_cast<std::uint32_t>(blue);
}

// Half way to a pale cyan: the stack's columns stay readable.
std::uint32_t tinted(std::uint32_t colour) {
    const auto channel = [colour](int shift, int toward) {
        const auto value = static_cast<int>((colour >> shift) & 0xFFU);
        return (value + toward) / 2;
    };
    return rgb(channel(16, 160), channel(8, 255), channel(0, 255));
}

} // namespace

std::uint32_t sectionColour(double scaled, SectionColours colours, bool signedData) {
    if (!std::isfinite(scaled)) {
        return SectionNoData;
    }
    if (colours == SectionColours::Grey) {
        // From -1 (strongest negative, or 0 for data without sign) to 1.
        const double t =
            signedData ? std::clamp(scaled, -1.0, 1.0) : 2 * std::clamp(scaled, 0.0, 1.0) - 1;
        const auto level = static_cast<int>(std::lround(255 * (1 - t) / 2));
        return rgb(level, level, level);
    }
    // Data without sign (an envelope) takes the map's red half only.
    const double t = std::clamp(scaled, signedData ? -1.0 : 0.0, 1.0);
    const auto fade = static_cast<int>(std::lround(255 * (1 - std::fabs(t))));
    return t < 0 ? rgb(fade, fade, 255) : rgb(255, fade, fade);
}

std::vector<std::uint32_t> sectionPixels(const SegySection& section, const SectionStyle& style) {
    const int width = section.width;
    const int height = section.height;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    const double clip = sectionClip(section, style.clipPercent);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = sectionColour(section.values[i] / clip, style.colours, section.hasNegative);
    }
    const auto at = [&](int column, int row) -> std::uint32_t& {
        return pixels[static_cast<std::size_t>(row) * width + column];
    };
    if (style.chosenTrace >= 0 && width > 0) {
        const int reach = style.stackTraces * std::max(style.channels, 1);
        const auto apart = [&](int c) {
            return std::abs(section.columns[static_cast<std::size_t>(c)].trace - style.chosenTrace);
        };
        int nearest = 0;
        for (int c = 0; c < width; ++c) {
            if (reach > 0 && apart(c) <= reach) {
                for (int r = 0; r < height; ++r) {
                    at(c, r) = tinted(at(c, r));
                }
            }
            nearest = apart(c) < apart(nearest) ? c : nearest;
        }
        // The columns of the trace nearest the chosen one, edged on both sides.
        int last = nearest;
        while (last + 1 < width && section.columns[static_cast<std::size_t>(last) + 1].trace ==
                                       section.columns[static_cast<std::size_t>(nearest)].trace) {
            ++last;
        }
        const bool within = style.chosenTrace >= section.columns.front().trace &&
                            style.chosenTrace <= section.columns.back().trace;
        for (const int edge : {nearest - 1, last + 1}) {
            if (within && edge >= 0 && edge < width) {
                for (int r = 0; r < height; ++r) {
                    at(edge, r) = SectionChosen;
                }
            }
        }
    }
    if (style.seaFloor) {
        // Each pick is joined to the one before it, half the step drawn in
        // either column, so that a steep sea floor stays a line.
        const auto run = [&](int column, int from, int to) {
            for (int r = std::min(from, to); r <= std::max(from, to); ++r) {
                at(column, r) = SectionSeaFloor;
            }
        };
        int before = -1;
        for (int c = 0; c < width; ++c) {
            const int row = section.columns[static_cast<std::size_t>(c)].seaFloorRow;
            if (row >= 0 && before >= 0) {
                const int middle = (before + row) / 2;
                run(c - 1, before, middle);
                run(c, middle, row);
            } else if (row >= 0) {
                run(c, row, row);
            }
            before = row;
        }
    }
    return pixels;
}

} // namespace quarvel
