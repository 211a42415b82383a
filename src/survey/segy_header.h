#pragma once

#include "survey/segy_reader.h"

namespace quarvel {

// What the 240 bytes of a trace header say, in the file's byte order.
SegyTraceHeader decodeSegyTraceHeader(const unsigned char* raw, bool littleEndian);

} // namespace quarvel
