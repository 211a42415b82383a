#include "survey/segy_reader.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <segyio/segy.h>
#include <system_error>

namespace quarvel {
namespace {

constexpr std::string_view CannotReadSegy = "Cannot read the SEG-Y file \"%s\". %s";
constexpr std::size_t TextualHeaderSize = 3200;
constexpr std::size_t FormatCodeOffset = 3224;
constexpr int TraceHeaderSize = 240;

std::string text(long long value) {
    return numbers::formatInteger(value);
}

bool isAsciiText(unsigned char c) {
    return c == 0 || c == '\r' || c == '\n' || (c >= 0x20 && c <= 0x7E);
}

// Letters, digits, blank, punctuation and line ends of EBCDIC.
bool isEbcdicText(unsigned char c) {
    auto in = [c](int low, int high) { return c >= low && c <= high; };
    return c == 0x00 || c == 0x0D || c == 0x15 || c == 0x25 || c == 0x40 || in(0x4A, 0x50) ||
           in(0x5A, 0x61) || in(0x6A, 0x6F) || in(0x79, 0x7F) || in(0x81, 0x89) || in(0x91, 0x99) ||
           in(0xA1, 0xA9) || in(0xC0, 0xC9) || in(0xD0, 0xD9) || c == 0xE0 || in(0xE2, 0xE9) ||
           in(0xF0, 0xF9);
}

// Real headers are not always clean text: most of it must be.
bool isTextualHeader(std::string_view header) {
    std::size_t ascii = 0;
    std::size_t ebcdic = 0;
    for (const char ch : header) {
        const auto c = static_cast<unsigned char>(ch);
        ascii += isAsciiText(c) ? 1 : 0;
        ebcdic += isEbcdicText(c) ? 1 : 0;
    }
    const std::size_t needed = header.size() * 3 / 4;
    return ascii >= needed || ebcdic >= needed;
}

int bigEndian16(std::string_view bytes, std::size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 8) | static_cast<unsigned char>(bytes[at + 1]);
}

int littleEndian16(std::string_view bytes, std::size_t at) {
    return (static_cast<unsigned char>(bytes[at + 1]) << 8) | static_cast<unsigned char>(bytes[at]);
}

// Every sample format code of the SEG-Y revisions, read or not.
bool isSegyFormatCode(int code) {
    return (code >= 1 && code <= 12) || code == 15 || code == 16;
}

bool isReadableFormat(int code) {
    return code == SEGY_IBM_FLOAT_4_BYTE || code == SEGY_SIGNED_INTEGER_4_BYTE ||
           code == SEGY_SIGNED_SHORT_2_BYTE || code == SEGY_IEEE_FLOAT_4_BYTE ||
           code == SEGY_SIGNED_CHAR_1_BYTE;
}

std::string readHead(const std::filesystem::path& path, bool& opened) {
    std::ifstream in(path, std::ios::binary);
    opened = static_cast<bool>(in);
    std::string head(SegyHeadSize, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

template <typename T> double sampleAt(const std::vector<char>& buffer, std::size_t index) {
    T value;
    std::memcpy(&value, buffer.data() + index * sizeof(T), sizeof(T));
    return static_cast<double>(value);
}

// The delay is stored in whole milliseconds; the time scalar of the same
// header (1, 10, 100, 1000 or 10000, negative to divide) refines it. Any
// other value is taken as 1, as the standard does for 0.
double scaledTime(int value, int scalar) {
    static constexpr std::array<int, 5> Scalars{1, 10, 100, 1000, 10000};
    for (const int allowed : Scalars) {
        if (scalar == allowed) {
            return static_cast<double>(value) * allowed;
        }
        if (scalar == -allowed) {
            return static_cast<double>(value) / allowed;
        }
    }
    return value;
}

} // namespace

struct SegyReader::Handle {
    segy_file* file = nullptr;
    ~Handle() {
        if (file != nullptr) {
            segy_close(file);
        }
    }
};

bool looksLikeSegy(std::string_view head) {
    if (head.size() < SegyHeadSize || !isTextualHeader(head.substr(0, TextualHeaderSize))) {
        return false;
    }
    return isSegyFormatCode(bigEndian16(head, FormatCodeOffset)) ||
           isSegyFormatCode(littleEndian16(head, FormatCodeOffset));
}

bool isSegyFile(const std::filesystem::path& path) {
    bool opened = false;
    return looksLikeSegy(readHead(path, opened));
}

SegyReader::SegyReader(const std::filesystem::path& path)
    : name_(path.string()), handle_(std::make_unique<Handle>()) {
    bool opened = false;
    const std::string head = readHead(path, opened);
    if (!opened) {
        throwCannotOpen(name_, systemReason());
    }
    if (head.size() < SegyHeadSize) {
        fail("It is shorter than the 3600 bytes of its headers.");
    }
    if (!looksLikeSegy(head)) {
        fail("Its headers are not those of a SEG-Y file.");
    }
    const int bigEndianCode = bigEndian16(head, FormatCodeOffset);
    layout_.littleEndian = !isSegyFormatCode(bigEndianCode);
    layout_.formatCode =
        layout_.littleEndian ? littleEndian16(head, FormatCodeOffset) : bigEndianCode;
    if (!isReadableFormat(layout_.formatCode)) {
        fail(formatMessage("Its sample format code %s is not one Quarvel reads (1 IBM float, 2 "
                           "and 3 integers, 5 IEEE float, 8 bytes).",
                           {text(layout_.formatCode)}));
    }
    handle_->file = segy_open(name_.c_str(), "rb");
    if (handle_->file == nullptr) {
        throwCannotOpen(name_, systemReason());
    }
    readLayout();
}

SegyReader::~SegyReader() = default;

void SegyReader::fail(const std::string& reason) const {
    throw QuarvelError(formatMessage(CannotReadSegy, {name_, reason}));
}

void SegyReader::readLayout() {
    segy_file* file = handle_->file;
    segy_set_format(file, layout_.formatCode | (layout_.littleEndian ? SEGY_LSB : SEGY_MSB));
    std::vector<char> binary(static_cast<std::size_t>(segy_binheader_size()));
    if (segy_binheader(file, binary.data()) != SEGY_OK) {
        fail("Its binary header cannot be read.");
    }
    std::error_code ec;
    const auto fileSize = static_cast<long long>(std::filesystem::file_size(name_, ec));
    firstTraceOffset_ = segy_trace0(binary.data());
    if (ec || firstTraceOffset_ < static_cast<long>(SegyHeadSize) ||
        firstTraceOffset_ + TraceHeaderSize > fileSize) {
        fail("It holds no trace after its headers (or announces extended textual headers it "
             "does not hold).");
    }
    int samples = segy_samples(binary.data());
    if (samples == 0) {
        int32_t fromTrace = 0;
        segy_get_field(traceHeader(0).data(), SEGY_TR_SAMPLE_COUNT, &fromTrace);
        samples = fromTrace;
    }
    if (samples <= 0 || samples > SegyMaxSamples) {
        fail(formatMessage("Its headers give %s samples per trace; a trace must have 1 to %s.",
                           {text(samples), text(SegyMaxSamples)}));
    }
    layout_.samplesPerTrace = samples;
    int32_t interval = 0;
    segy_get_bfield(binary.data(), SEGY_BIN_INTERVAL, &interval);
    if (interval < 0) {
        fail(formatMessage("Its binary header gives a negative sample interval (%s microseconds).",
                           {text(interval)}));
    }
    layout_.intervalMs = interval / 1000.0;
    traceBytes_ = segy_trsize(layout_.formatCode, samples);
    int traces = 0;
    const int status = segy_traces(file, &traces, firstTraceOffset_, traceBytes_);
    if (status == SEGY_TRACE_SIZE_MISMATCH) {
        fail(formatMessage("It ends in the middle of a trace: it is cut short, or its traces "
                           "are not all %s samples long.",
                           {text(samples)}));
    }
    if (status != SEGY_OK || traces <= 0) {
        fail("It holds no trace after its headers.");
    }
    layout_.traceCount = traces;
    layout_.channels = readChannels();
}

// Channels show as a run of traces sharing a field record number at the start
// of the file, repeated through it; anything less regular is one channel.
int SegyReader::readChannels() {
    const int looked = std::min(layout_.traceCount, SegyMaxChannels + 1);
    std::vector<int32_t> records(static_cast<std::size_t>(looked));
    for (int i = 0; i < looked; ++i) {
        segy_get_field(traceHeader(i).data(), SEGY_TR_FIELD_RECORD, &records[i]);
    }
    int run = 1;
    while (run < looked && records[run] == records[0]) {
        ++run;
    }
    const bool grouped =
        records[0] != 0 && run >= 2 && run <= SegyMaxChannels && layout_.traceCount % run == 0;
    return grouped ? run : 1;
}

std::vector<char> SegyReader::traceHeader(int index) {
    std::vector<char> header(TraceHeaderSize);
    if (segy_traceheader(handle_->file, index, header.data(), firstTraceOffset_, traceBytes_) !=
        SEGY_OK) {
        fail(formatMessage("The header of trace %s cannot be read.", {text(index + 1)}));
    }
    return header;
}

SegyTrace SegyReader::readTrace(int index) {
    if (index < 0 || index >= layout_.traceCount) {
        fail(formatMessage("It has no trace %s; it holds %s.",
                           {text(index + 1), text(layout_.traceCount)}));
    }
    const std::vector<char> header = traceHeader(index);
    int32_t delay = 0;
    int32_t scalar = 0;
    int32_t interval = 0;
    segy_get_field(header.data(), SEGY_TR_DELAY_REC_TIME, &delay);
    segy_get_field(header.data(), SEGY_TR_SCALAR_TRACE_HEADER, &scalar);
    segy_get_field(header.data(), SEGY_TR_SAMPLE_INTER, &interval);
    SegyTrace trace;
    trace.firstTimeMs = scaledTime(delay, scalar);
    trace.intervalMs = layout_.intervalMs > 0 ? layout_.intervalMs : interval / 1000.0;
    if (trace.intervalMs <= 0) {
        fail(formatMessage("Neither its binary header nor the header of trace %s gives a "
                           "positive sample interval.",
                           {text(index + 1)}));
    }
    std::vector<char> buffer(static_cast<std::size_t>(traceBytes_));
    segy_file* file = handle_->file;
    if (segy_readtrace(file, index, buffer.data(), firstTraceOffset_, traceBytes_) != SEGY_OK ||
        segy_to_native(layout_.formatCode, layout_.samplesPerTrace, buffer.data()) != SEGY_OK) {
        fail(formatMessage("The samples of trace %s cannot be read.", {text(index + 1)}));
    }
    const auto count = static_cast<std::size_t>(layout_.samplesPerTrace);
    trace.amplitudes.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        double value = 0;
        switch (layout_.formatCode) {
        case SEGY_SIGNED_INTEGER_4_BYTE:
            value = sampleAt<int32_t>(buffer, i);
            break;
        case SEGY_SIGNED_SHORT_2_BYTE:
            value = sampleAt<int16_t>(buffer, i);
            break;
        case SEGY_SIGNED_CHAR_1_BYTE:
            value = sampleAt<int8_t>(buffer, i);
            break;
        default:
            value = sampleAt<float>(buffer, i);
            break;
        }
        if (!std::isfinite(value)) {
            fail(formatMessage("Sample %s of trace %s is not a number.",
                               {text(static_cast<long long>(i) + 1), text(index + 1)}));
        }
        trace.amplitudes[i] = value;
    }
    return trace;
}

std::string traceListingText(const SegyTrace& trace) {
    TextBuilder listing;
    for (std::size_t i = 0; i < trace.amplitudes.size(); ++i) {
        const double time = trace.firstTimeMs + static_cast<double>(i) * trace.intervalMs;
        listing.line(numbers::formatFixed(time, 6) + " " + numbers::formatE23(trace.amplitudes[i]));
    }
    return listing.text();
}

} // namespace quarvel
