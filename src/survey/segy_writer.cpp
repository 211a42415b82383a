#include "survey/segy_writer.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace quarvel {
namespace {

using numbers::formatInteger;
using numbers::formatSignificant;

constexpr std::size_t TextualHeaderSize = 3200;
constexpr std::size_t BinaryHeaderSize = 400;
constexpr std::size_t TraceHeaderSize = 240;
constexpr std::size_t CardWidth = 80;
constexpr std::size_t Cards = 40;
constexpr std::size_t DescriptionCards = Cards - 4;

// Code page 037 for the printable ASCII characters, space (32) to '~' (126).
constexpr std::string_view EbcdicPrintable =
    "\x40\x5A\x7F\x7B\x5B\x6C\x50\x7D\x4D\x5D\x5C\x4E\x6B\x60\x4B\x61"
    "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\x7A\x5E\x4C\x7E\x6E\x6F"
    "\x7C\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xD1\xD2\xD3\xD4\xD5\xD6"
    "\xD7\xD8\xD9\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xBA\xE0\xBB\xB0\x6D"
    "\x79\x81\x82\x83\x84\x85\x86\x87\x88\x89\x91\x92\x93\x94\x95\x96"
    "\x97\x98\x99\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xC0\x4F\xD0\xA1";

char ebcdic(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c >= 32 && c <= 126 ? EbcdicPrintable[c - 32] : EbcdicPrintable['?' - 32];
}

void putCard(std::string& header, std::size_t card, std::string_view text) {
    std::string line = (card < 9 ? "C " : "C") + std::to_string(card + 1) + ' ';
    line += text.substr(0, CardWidth - line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        header[card * CardWidth + i] = ebcdic(line[i]);
    }
}

std::string textualHeader(const SegyTraceExport& trace, int intervalUs) {
    std::string header(TextualHeaderSize, ebcdic(' '));
    for (std::size_t card = 0; card < Cards; ++card) {
        putCard(header, card, "");
    }
    putCard(header, 0, "SYNTHETIC SEISMOGRAM WRITTEN BY QUARVEL");
    putCard(header, 1,
            "SAMPLE INTERVAL " + formatInteger(intervalUs) + " US, " +
                formatInteger(static_cast<long long>(trace.amplitudes.size())) +
                " SAMPLES, FIRST AT " + formatSignificant(trace.firstTimeMs, 6) +
                " MS FROM TIME ZERO");
    for (std::size_t i = 0; i < trace.description.size() && i < DescriptionCards; ++i) {
        putCard(header, i + 2, trace.description[i]);
    }
    putCard(header, Cards - 2, "SEG Y REV1");
    putCard(header, Cards - 1, "END TEXTUAL HEADER");
    return header;
}

// Big-endian, two's complement for negative values.
void putBigEndian(std::string& bytes, std::size_t at, std::int64_t value, int size) {
    auto bits = static_cast<std::uint64_t>(value);
    for (int i = size - 1; i >= 0; --i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(bits & 0xFFU);
        bits >>= 8;
    }
}

[[noreturn]] void refuse(std::string_view pattern, std::initializer_list<std::string_view> args) {
    throw QuarvelError("Cannot write the synthetic as SEG-Y. " + formatMessage(pattern, args));
}

int intervalMicroseconds(double seconds) {
    const double us = seconds * 1e6;
    // Intervals come from times read back as text: a nanosecond is noise.
    if (!std::isfinite(us) || std::abs(us - std::round(us)) > 1e-3 || std::round(us) < 1 ||
        std::round(us) > 65535) {
        refuse("Its sample interval of %s us is not a whole number of microseconds from 1 to "
               "65535, as the SEG-Y headers hold it.",
               {formatSignificant(us, 9)});
    }
    return static_cast<int>(std::round(us));
}

struct ScaledTime {
    std::int64_t value = 0;
    std::int64_t scalar = 1;
};

// The delay as a 16-bit number of ms with the header's time scalar (-10 to
// -10000 divide): whole ms where the delay is one, so that programs ignoring
// the scalar still read it right, else the finest scale that holds it.
ScaledTime delayField(double ms) {
    static constexpr std::array<std::int64_t, 5> Divisors{1, 10, 100, 1000, 10000};
    if (!std::isfinite(ms) || std::abs(std::round(ms)) > 32767) {
        refuse("Its first sample lies at %s ms; the SEG-Y header holds delays up to 32767 ms.",
               {formatSignificant(ms, 9)});
    }
    ScaledTime best{static_cast<std::int64_t>(std::round(ms)), 1};
    for (const std::int64_t divisor : Divisors) {
        const double scaled = std::round(ms * static_cast<double>(divisor));
        if (std::abs(scaled) > 32767) {
            break;
        }
        best = {static_cast<std::int64_t>(scaled), divisor == 1 ? 1 : -divisor};
        if (std::abs(scaled / static_cast<double>(divisor) - ms) < 1e-9) {
            break;
        }
    }
    return best;
}

} // namespace

std::string segyTraceBytes(const SegyTraceExport& trace) {
    const std::size_t count = trace.amplitudes.size();
    if (count == 0 || count > SegyExportMaxSamples) {
        refuse("It has %s samples; a SEG-Y trace holds 1 to 65535.",
               {formatInteger(static_cast<long long>(count))});
    }
    for (std::size_t i = 0; i < count; ++i) {
        // NaN fails the comparison too.
        if (!(std::abs(trace.amplitudes[i]) <= std::numeric_limits<float>::max())) {
            refuse("Its sample %s is not a number a 4-byte float holds.",
                   {formatInteger(static_cast<long long>(i + 1))});
        }
    }
    const int intervalUs = intervalMicroseconds(trace.intervalSeconds);
    const ScaledTime delay = delayField(trace.firstTimeMs);

    std::string bytes = textualHeader(trace, intervalUs);
    std::string binary(BinaryHeaderSize, '\0');
    putBigEndian(binary, 8, 1, 4);  // reel number
    putBigEndian(binary, 12, 1, 2); // data traces per ensemble
    putBigEndian(binary, 16, intervalUs, 2);
    putBigEndian(binary, 18, intervalUs, 2);
    putBigEndian(binary, 20, static_cast<std::int64_t>(count), 2);
    putBigEndian(binary, 22, static_cast<std::int64_t>(count), 2);
    putBigEndian(binary, 24, 5, 2); // IEEE float
    putBigEndian(binary, 26, 1, 2); // ensemble fold
    putBigEndian(binary, 28, 1, 2); // sorted as recorded
    putBigEndian(binary, 54, 1, 2); // metres
    putBigEndian(binary, 300, 0x0100, 2);
    putBigEndian(binary, 302, 1, 2); // every trace has the same length
    bytes += binary;

    std::string header(TraceHeaderSize, '\0');
    putBigEndian(header, 0, 1, 4);  // trace in line
    putBigEndian(header, 4, 1, 4);  // trace in file
    putBigEndian(header, 8, 1, 4);  // field record
    putBigEndian(header, 12, 1, 4); // trace in field record
    putBigEndian(header, 28, 1, 2); // seismic data
    putBigEndian(header, 34, 1, 2); // production
    putBigEndian(header, 68, 1, 2); // elevation scalar
    putBigEndian(header, 70, 1, 2); // coordinate scalar
    putBigEndian(header, 88, 1, 2); // coordinates are lengths
    putBigEndian(header, 108, delay.value, 2);
    putBigEndian(header, 114, static_cast<std::int64_t>(count), 2);
    putBigEndian(header, 116, intervalUs, 2);
    putBigEndian(header, 214, delay.scalar, 2);
    bytes += header;

    std::string samples(count * 4, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        putBigEndian(samples, i * 4,
                     std::bit_cast<std::uint32_t>(static_cast<float>(trace.amplitudes[i])), 4);
    }
    bytes += samples;
    return bytes;
}

SegyTraceExport evenlySampledTrace(const std::vector<double>& times,
                                   const std::vector<double>& amplitudes, std::string_view name) {
    if (times.size() < 2 || times.size() != amplitudes.size()) {
        throw QuarvelError(formatMessage(
            "Cannot write %s as SEG-Y. It needs two samples or more to give its interval.",
            {name}));
    }
    const double interval = (times.back() - times.front()) / static_cast<double>(times.size() - 1);
    for (std::size_t i = 1; i < times.size(); ++i) {
        if (!(std::abs(times[i] - times[i - 1] - interval) <= 1e-9)) {
            throw QuarvelError(formatMessage(
                "Cannot write %s as SEG-Y. Its samples %s and %s are not one interval apart.",
                {name, formatInteger(static_cast<long long>(i)),
                 formatInteger(static_cast<long long>(i + 1))}));
        }
    }
    return {amplitudes, interval, times.front() * 1e3, {}};
}

void writeSegyTraceFile(const std::filesystem::path& path, const SegyTraceExport& trace) {
    writeTextFile(path, segyTraceBytes(trace));
}

} // namespace quarvel
