#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarvel {

// A PNG image of 8-bit RGB from pixels given as 0xAARRGGBB, row by row
// (alpha ignored). The image data is stored without compression: the writer
// needs no library and a section picture is a few megabytes.
std::string pngBytes(int width, int height, const std::vector<std::uint32_t>& pixels);

} // namespace quarvel
