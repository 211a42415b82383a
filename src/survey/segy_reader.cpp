#include "survey/segy_reader.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/series_file.h"
#include "formats/text_file.h"
#include "survey/segy_header.h"
#include "survey/segy_samples.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <segyio/segy.h>
#include <system_error>

namespace quarvel {
namespace {

constexpr std::string_view CannotReadSegy = "Cannot read the SEG-Y file \"%s\". %s";
constexpr std::size_t TextualHeaderSize = 3200;
constexpr int TraceHeaderSize = 240;

// Byte offsets (from 0) in the file's first 3600 bytes.
constexpr std::size_t IntervalAt = 3216;
constexpr std::size_t SamplesAt = 3220;
constexpr std::size_t FormatCodeAt = 3224;
constexpr std::size_t ExtendedSamplesAt = 3268;
constexpr std::size_t ExtendedIntervalAt = 3272;
constexpr std::size_t ByteOrderWordAt = 3296;
constexpr std::size_t RevisionAt = 3500;
constexpr std::size_t ExtendedTextCountAt = 3504;
constexpr std::size_t ExtraTraceHeadersAt = 3506;
constexpr std::size_t FirstTraceOffsetAt = 3520;
constexpr std::size_t TrailerCountAt = 3528;
constexpr std::size_t FixedLengthFlagAt = 3502;

// More additional trace headers than this is a damaged binary header.
constexpr std::uint64_t MaxExtraTraceHeaders = 100;

// A longer sample interval (in microseconds) is a damaged binary header: no
// sub-bottom or seismic system samples more slowly than once a second.
constexpr double MaxIntervalUs = 1e6;

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

const unsigned char* bytesAt(std::string_view bytes, std::size_t at) {
    return reinterpret_cast<const unsigned char*>(bytes.data()) + at;
}

std::uint64_t unsignedAt(std::string_view bytes, std::size_t at, int size, bool little) {
    return segyUnsigned(bytesAt(bytes, at), size, little);
}

bool isFormatCode(std::uint64_t code) {
    return code < 100 && segySampleFormat(static_cast<int>(code)) != nullptr;
}

// Revision 2 writes 16909060 (bytes 01 02 03 04) in the writer's byte order;
// older files are judged by which order makes the format code a SEG-Y one.
bool isLittleEndian(std::string_view head) {
    const std::uint64_t word = unsignedAt(head, ByteOrderWordAt, 4, false);
    if (word == 0x01020304U || word == 0x04030201U) {
        return word == 0x04030201U;
    }
    return !isFormatCode(unsignedAt(head, FormatCodeAt, 2, false));
}

std::string readHead(const std::filesystem::path& path, bool& opened) {
    requireRegularFile(path);
    std::ifstream in(path, std::ios::binary);
    opened = static_cast<bool>(in);
    std::string head(SegyHeadSize, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

// The stanza that ends a variable number of extended textual headers, with
// its blanks left out and its letters in capitals: writers vary both.
constexpr std::string_view EndText = "((SEG:ENDTEXT))";

// The characters a stanza name is made of, from ASCII or EBCDIC, letters in
// capitals; anything else is 0 and a blank in either code is dropped.
char stanzaChar(unsigned char c, bool ebcdic) {
    if (!ebcdic) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c);
    }
    const auto letter = [c](int from, char first) { return static_cast<char>(first + (c - from)); };
    if (c >= 0x81 && c <= 0x89) {
        return letter(0x81, 'A');
    }
    if (c >= 0x91 && c <= 0x99) {
        return letter(0x91, 'J');
    }
    if (c >= 0xA2 && c <= 0xA9) {
        return letter(0xA2, 'S');
    }
    if (c >= 0xC1 && c <= 0xC9) {
        return letter(0xC1, 'A');
    }
    if (c >= 0xD1 && c <= 0xD9) {
        return letter(0xD1, 'J');
    }
    if (c >= 0xE2 && c <= 0xE9) {
        return letter(0xE2, 'S');
    }
    switch (c) {
    case 0x4D:
        return '(';
    case 0x5D:
        return ')';
    case 0x7A:
        return ':';
    case 0x40:
        return ' ';
    default:
        return 0;
    }
}

bool holdsEndText(std::string_view record) {
    for (const bool ebcdic : {false, true}) {
        std::string squeezed;
        squeezed.reserve(record.size());
        for (const char ch : record) {
            const char c = stanzaChar(static_cast<unsigned char>(ch), ebcdic);
            if (c != ' ') {
                squeezed += c;
            }
        }
        if (squeezed.find(EndText) != std::string::npos) {
            return true;
        }
    }
    return false;
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
    return isFormatCode(unsignedAt(head, FormatCodeAt, 2, false)) ||
           isFormatCode(unsignedAt(head, FormatCodeAt, 2, true));
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
        throwCannotOpenFromSystem(name_);
    }
    if (head.size() < SegyHeadSize) {
        fail("It is shorter than the 3600 bytes of its headers.");
    }
    if (!looksLikeSegy(head)) {
        fail("Its headers are not those of a SEG-Y file.");
    }
    layout_.littleEndian = isLittleEndian(head);
    layout_.formatCode = static_cast<int>(unsignedAt(head, FormatCodeAt, 2, layout_.littleEndian));
    format_ = segySampleFormat(layout_.formatCode);
    if (format_ == nullptr) {
        fail(formatMessage("Its sample format code %s is not a SEG-Y one.",
                           {text(layout_.formatCode)}));
    }
    if (!format_->readable) {
        fail("Its samples are 4-byte fixed point with gain (format code 4), an obsolete format "
             "Quarvel does not read.");
    }
    // The samples arrive as raw bytes: segyio swaps nothing in a one-byte
    // format, and the decoding here knows the file's byte order.
    handle_->file = segy_open(name_.c_str(), "rb");
    if (handle_->file == nullptr) {
        throwCannotOpenFromSystem(name_);
    }
    segy_set_format(handle_->file,
                    static_cast<int>(SEGY_SIGNED_CHAR_1_BYTE) | static_cast<int>(SEGY_MSB));
    readLayout(head);
}

SegyReader::~SegyReader() = default;

void SegyReader::fail(const std::string& reason, ErrorKind kind) const {
    throw QuarvelError(formatMessage(CannotReadSegy, {name_, reason}), kind);
}

long SegyReader::firstTraceOffset(std::string_view head, long long fileSize) {
    const bool little = layout_.littleEndian;
    if (layout_.revision >= 2) {
        const std::uint64_t offset = unsignedAt(head, FirstTraceOffsetAt, 8, little);
        if (offset != 0) {
            if (offset < SegyHeadSize || offset > static_cast<std::uint64_t>(fileSize)) {
                fail(formatMessage("Its binary header puts the first trace at byte %s, outside "
                                   "the file.",
                                   {text(static_cast<long long>(offset))}));
            }
            return static_cast<long>(offset);
        }
    }
    const auto count = static_cast<std::int16_t>(unsignedAt(head, ExtendedTextCountAt, 2, little));
    if (count >= 0) {
        layout_.extendedTextHeaders = count;
        return static_cast<long>(SegyHeadSize +
                                 TextualHeaderSize * static_cast<std::size_t>(count));
    }
    if (count != -1) {
        fail(formatMessage("Its binary header gives %s extended textual headers.", {text(count)}));
    }
    // A count of -1: the extended textual headers run to the one holding
    // the end stanza.
    std::ifstream in(name_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(SegyHeadSize));
    std::string record(TextualHeaderSize, '\0');
    for (int records = 1; in.read(record.data(), static_cast<std::streamsize>(record.size()));
         ++records) {
        if (holdsEndText(record)) {
            layout_.extendedTextHeaders = records;
            return static_cast<long>(SegyHeadSize +
                                     TextualHeaderSize * static_cast<std::size_t>(records));
        }
    }
    fail("It announces a variable number of extended textual headers, but none of them holds "
         "the closing ((SEG: EndText)) stanza.");
}

void SegyReader::readLayout(std::string_view head) {
    const bool little = layout_.littleEndian;
    layout_.revision = static_cast<unsigned char>(head[RevisionAt]);
    std::error_code ec;
    const auto fileSize = static_cast<long long>(std::filesystem::file_size(name_, ec));
    if (ec) {
        throwCannotOpen(name_, ec.message());
    }
    firstTraceOffset_ = firstTraceOffset(head, fileSize);
    const bool revision2 = layout_.revision >= 2;
    if (revision2) {
        layout_.trailerRecords = static_cast<int>(
            std::min<std::uint64_t>(unsignedAt(head, TrailerCountAt, 4, little), 1U << 20));
    }
    const long long dataEnd =
        fileSize - static_cast<long long>(TextualHeaderSize) * layout_.trailerRecords;
    if (firstTraceOffset_ + TraceHeaderSize > dataEnd) {
        fail("It holds no trace after its headers (or announces extended textual headers it "
             "does not hold).");
    }
    std::uint64_t samples = unsignedAt(head, SamplesAt, 2, little);
    if (revision2 && unsignedAt(head, ExtendedSamplesAt, 4, little) != 0) {
        samples = unsignedAt(head, ExtendedSamplesAt, 4, little);
    }
    if (samples == 0) {
        samples = static_cast<std::uint64_t>(traceHeader(0).sampleCount);
    }
    if (samples == 0 || samples > SegyMaxSamples) {
        fail(formatMessage("Its headers give %s samples per trace; a trace must have 1 to %s.",
                           {text(static_cast<long long>(samples)), text(SegyMaxSamples)}));
    }
    layout_.samplesPerTrace = static_cast<int>(samples);
    double intervalUs = static_cast<double>(unsignedAt(head, IntervalAt, 2, little));
    if (revision2) {
        const double extended =
            std::bit_cast<double>(unsignedAt(head, ExtendedIntervalAt, 8, little));
        if (std::isfinite(extended) && extended > MaxIntervalUs) {
            fail("Its binary header's extended sample interval is longer than a second: the "
                 "header is damaged.");
        }
        if (std::isfinite(extended) && extended > 0) {
            intervalUs = extended;
        }
    }
    layout_.intervalMs = intervalUs / 1000.0;
    const long long dataBytes = dataEnd - firstTraceOffset_;
    const int fixedBytes = fixedTraceBytes(head, dataBytes);
    if (fixedBytes == 0) {
        // Revision 2 lets traces differ in length unless its fixed-length
        // flag is set: their headers are walked once, at opening.
        if (!revision2 || unsignedAt(head, FixedLengthFlagAt, 2, little) != 0) {
            fail(formatMessage("It ends in the middle of a trace: it is cut short, or its traces "
                               "are not all %s samples long.",
                               {text(layout_.samplesPerTrace)}));
        }
        scanVariableTraces(head, dataEnd);
    } else {
        const long long traceSize = TraceHeaderSize + fixedBytes;
        if (dataBytes / traceSize > 0x7FFFFFFF) {
            fail("It holds more traces than Quarvel can number.");
        }
        layout_.traceCount = static_cast<int>(dataBytes / traceSize);
    }
    layout_.channels = readChannels();
}

void SegyReader::scanVariableTraces(std::string_view head, long long dataEnd) {
    const bool little = layout_.littleEndian;
    const std::uint64_t four = unsignedAt(head, ExtraTraceHeadersAt, 4, little);
    layout_.extraTraceHeaders = static_cast<int>(
        four <= MaxExtraTraceHeaders ? four : unsignedAt(head, ExtraTraceHeadersAt, 2, little));
    layout_.variableLength = true;
    variable_.open(name_, std::ios::binary);
    const long long skipped = static_cast<long long>(TraceHeaderSize) *
                              (1 + static_cast<long long>(layout_.extraTraceHeaders));
    int shortest = SegyMaxSamples;
    int longest = 0;
    long long offset = firstTraceOffset_;
    while (offset < dataEnd) {
        const auto index = static_cast<int>(traceOffsets_.size());
        if (offset + TraceHeaderSize > dataEnd || index == 0x7FFFFFFF) {
            fail(formatMessage("It ends in the middle of trace %s.", {text(index + 1)}));
        }
        const std::vector<unsigned char> raw = bytesAt(offset, TraceHeaderSize, index);
        const auto samples = static_cast<int>(segyUnsigned(raw.data() + 114, 2, little));
        if (samples == 0 || samples > SegyMaxSamples) {
            fail(formatMessage("The header of trace %s gives it %s samples; a trace must have 1 "
                               "to %s.",
                               {text(index + 1), text(samples), text(SegyMaxSamples)}));
        }
        traceOffsets_.push_back(offset);
        offset += skipped + static_cast<long long>(format_->bytes) * samples;
        shortest = std::min(shortest, samples);
        longest = std::max(longest, samples);
    }
    if (offset != dataEnd) {
        fail(formatMessage("It ends in the middle of trace %s.",
                           {text(static_cast<long long>(traceOffsets_.size()))}));
    }
    traceOffsets_.push_back(offset);
    layout_.traceCount = static_cast<int>(traceOffsets_.size() - 1);
    layout_.samplesPerTrace = longest;
    layout_.notes.push_back(formatMessage("Traces of variable length: %s to %s samples.",
                                          {text(shortest), text(longest)}));
}

std::vector<unsigned char> SegyReader::bytesAt(long long offset, std::size_t size, int index) {
    std::vector<unsigned char> bytes(size);
    variable_.clear();
    variable_.seekg(static_cast<std::streamoff>(offset));
    if (!variable_.read(reinterpret_cast<char*>(bytes.data()),
                        static_cast<std::streamsize>(size))) {
        fail(formatMessage("Trace %s cannot be read.", {text(index + 1)}));
    }
    return bytes;
}

// The count of additional trace headers is four bytes, but some writers
// store it in the first two of them; of the two readings, the one the
// file's size fits is taken, the four-byte one first. 0 when neither fits.
int SegyReader::fixedTraceBytes(std::string_view head, long long dataBytes) {
    const bool little = layout_.littleEndian;
    const bool revision2 = layout_.revision >= 2;
    const std::uint64_t four = revision2 ? unsignedAt(head, ExtraTraceHeadersAt, 4, little) : 0;
    const std::uint64_t two = revision2 ? unsignedAt(head, ExtraTraceHeadersAt, 2, little) : 0;
    const auto bytesWith = [&](std::uint64_t extra) {
        return TraceHeaderSize * static_cast<int>(extra) + format_->bytes * layout_.samplesPerTrace;
    };
    for (const std::uint64_t extra : {four, two}) {
        if (extra > MaxExtraTraceHeaders || dataBytes % (TraceHeaderSize + bytesWith(extra)) != 0) {
            continue;
        }
        layout_.extraTraceHeaders = static_cast<int>(extra);
        if (extra != four) {
            layout_.notes.push_back(formatMessage(
                "Additional trace headers: %s, read from bytes 3507-3508; read as four bytes "
                "(3507-3510) the count is %s, which the file's size does not fit.",
                {text(static_cast<long long>(extra)), text(static_cast<long long>(four))}));
        }
        traceBytes_ = bytesWith(extra);
        return traceBytes_;
    }
    if (four > MaxExtraTraceHeaders) {
        fail(formatMessage("Its binary header gives %s additional headers to each trace.",
                           {text(static_cast<long long>(four))}));
    }
    return 0;
}

// Channels show as a run of traces sharing a field record number at the start
// of the file, repeated through it; anything less regular is one channel.
int SegyReader::readChannels() {
    const int looked = std::min(layout_.traceCount, SegyMaxChannels + 1);
    std::vector<int> records(static_cast<std::size_t>(looked));
    for (int i = 0; i < looked; ++i) {
        records[static_cast<std::size_t>(i)] = traceHeader(i).fieldRecord;
    }
    int run = 1;
    while (run < looked && records[static_cast<std::size_t>(run)] == records[0]) {
        ++run;
    }
    const bool grouped =
        records[0] != 0 && run >= 2 && run <= SegyMaxChannels && layout_.traceCount % run == 0;
    return grouped ? run : 1;
}

std::vector<unsigned char> SegyReader::rawHeader(int index) {
    if (layout_.variableLength) {
        return bytesAt(traceOffsets_[static_cast<std::size_t>(index)], TraceHeaderSize, index);
    }
    std::vector<unsigned char> header(TraceHeaderSize);
    if (segy_traceheader(handle_->file, index, reinterpret_cast<char*>(header.data()),
                         firstTraceOffset_, traceBytes_) != SEGY_OK) {
        fail(formatMessage("The header of trace %s cannot be read.", {text(index + 1)}));
    }
    return header;
}

SegyTraceHeader SegyReader::traceHeader(int index) {
    return decodeSegyTraceHeader(rawHeader(index).data(), layout_.littleEndian);
}

SegyTrace SegyReader::readTrace(int index, double intervalMs) {
    if (index < 0 || index >= layout_.traceCount) {
        fail(formatMessage("It has no trace %s; it holds %s.",
                           {text(index + 1), text(layout_.traceCount)}));
    }
    const SegyTraceHeader header = traceHeader(index);
    SegyTrace trace;
    trace.firstTimeMs = header.delayMs;
    trace.intervalMs = intervalMs > 0           ? intervalMs
                       : layout_.intervalMs > 0 ? layout_.intervalMs
                                                : header.intervalUs / 1000.0;
    if (trace.intervalMs <= 0) {
        fail(formatMessage("Neither its binary header nor the header of trace %s gives a "
                           "positive sample interval.",
                           {text(index + 1)}));
    }
    auto count = static_cast<std::size_t>(layout_.samplesPerTrace);
    std::vector<unsigned char> buffer;
    if (layout_.variableLength) {
        const auto at = static_cast<std::size_t>(index);
        const auto bytes =
            static_cast<std::size_t>(traceOffsets_[at + 1] - traceOffsets_[at]) - TraceHeaderSize;
        buffer = bytesAt(traceOffsets_[at] + TraceHeaderSize, bytes, index);
        count = (bytes - TraceHeaderSize * static_cast<std::size_t>(layout_.extraTraceHeaders)) /
                static_cast<std::size_t>(format_->bytes);
    } else {
        buffer.resize(static_cast<std::size_t>(traceBytes_));
        if (segy_readtrace(handle_->file, index, buffer.data(), firstTraceOffset_, traceBytes_) !=
            SEGY_OK) {
            fail(formatMessage("The samples of trace %s cannot be read.", {text(index + 1)}));
        }
    }
    trace.amplitudes.resize(count);
    decodeSegySamples(*format_, layout_.littleEndian,
                      buffer.data() + TraceHeaderSize * layout_.extraTraceHeaders, count,
                      trace.amplitudes.data());
    for (std::size_t i = 0; i < count; ++i) {
        const double value = trace.amplitudes[i];
        if (std::isnan(value)) {
            fail(formatMessage("Sample %s of trace %s is not a number.",
                               {text(static_cast<long long>(i) + 1), text(index + 1)}));
        }
        if (std::fabs(value) > SegyMaxAmplitude) {
            std::string written = numbers::formatE23(value);
            written.erase(0, written.find_first_not_of(' '));
            fail(formatMessage("Sample %s of trace %s, %s, is beyond the largest amplitude "
                               "Quarvel reads (that of a 4-byte float, 3.4E+38).",
                               {text(static_cast<long long>(i) + 1), text(index + 1), written}));
        }
    }
    return trace;
}

std::string traceListingText(const SegyTrace& trace) {
    std::string listing;
    for (std::size_t i = 0; i < trace.amplitudes.size(); ++i) {
        const double time = trace.firstTimeMs + static_cast<double>(i) * trace.intervalMs;
        appendSeriesLine(listing, time, trace.amplitudes[i], SeriesTimeForm::Fixed6);
    }
    return listing;
}

} // namespace quarvel
