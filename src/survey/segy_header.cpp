#include "survey/segy_header.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "survey/segy_samples.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>
#include <vector>

namespace quarvel {
namespace {

// Delays and depths are stored as whole numbers; the scalar of the same
// header (1, 10, 100, 1000 or 10000, negative to divide) refines them. Any
// other value is taken as 1, as the standard does for 0.
double scaled(long long value, long long scalar) {
    static constexpr std::array<int, 5> Scalars{1, 10, 100, 1000, 10000};
    for (const int allowed : Scalars) {
        if (scalar == allowed) {
            return static_cast<double>(value) * allowed;
        }
        if (scalar == -allowed) {
            return static_cast<double>(value) / allowed;
        }
    }
    return static_cast<double>(value);
}

// Headers are read in runs of whole traces of about this many bytes: one
// read per run instead of one per trace, and the run is decoded while it is
// still in the processor's cache. Mapping the file instead costs more: every
// header lies on a page of its own between the samples, and each new page
// of a mapping is a miss the processor must walk the page tables for.
constexpr std::size_t ScanBytes = std::size_t{1} << 20;

// Traces longer than this have their headers read one by one: a run would
// read mostly samples. So do traces of variable length.
constexpr std::size_t ScanTraceLimit = 64 * 1024;

constexpr int TraceHeaderBytes = 240;

// A file read a run at a time; a file cut short meanwhile is an error
// rather than a fault.
class FileRuns {
public:
    explicit FileRuns(const std::string& name) : fd_(::open(name.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ >= 0) {
            ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
        }
    }
    ~FileRuns() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileRuns(const FileRuns&) = delete;
    FileRuns& operator=(const FileRuns&) = delete;

    bool opened() const { return fd_ >= 0; }

    // `bytes` bytes from `from` into the buffer; false when the file no
    // longer holds them.
    bool read(std::uint64_t from, std::size_t bytes, std::vector<unsigned char>& buffer) const {
        buffer.resize(bytes);
        std::size_t done = 0;
        while (done < bytes) {
            const ssize_t got =
                ::pread(fd_, buffer.data() + done, bytes - done, static_cast<off_t>(from + done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int fd_;
};

} // namespace

// A signed field of two or four bytes: a line's scan decodes millions of
// headers, so the bytes are loaded whole and swapped when the file's order
// is not the machine's.
template <typename Int> long long signedField(const unsigned char* at, bool little) {
    using Unsigned = std::make_unsigned_t<Int>;
    Unsigned value = 0;
    std::memcpy(&value, at, sizeof value);
    if (little != (std::endian::native == std::endian::little)) {
        if constexpr (sizeof value == 2) {
            value = __builtin_bswap16(value);
        } else {
            value = __builtin_bswap32(value);
        }
    }
    return static_cast<Int>(value);
}

SegyTraceHeader decodeSegyTraceHeader(const unsigned char* raw, bool little) {
    const auto field = [&](std::size_t at, int size) {
        return size == 2 ? signedField<std::int16_t>(raw + at, little)
                         : signedField<std::int32_t>(raw + at, little);
    };
    SegyTraceHeader header;
    header.traceInLine = static_cast<int>(field(0, 4));
    header.fieldRecord = static_cast<int>(field(8, 4));
    header.traceInRecord = static_cast<int>(field(12, 4));
    header.sourcePoint = static_cast<int>(field(16, 4));
    header.waterDepth = scaled(field(60, 4), field(68, 2));
    const long long scalar = field(70, 2);
    const bool atSource = field(72, 4) != 0 || field(76, 4) != 0;
    header.x = scaled(field(atSource ? 72 : 180, 4), scalar);
    header.y = scaled(field(atSource ? 76 : 184, 4), scalar);
    header.coordinateUnits = static_cast<int>(field(88, 2));
    header.delayMs = scaled(field(108, 2), field(214, 2));
    header.sampleCount = static_cast<int>(segyUnsigned(raw + 114, 2, little));
    header.intervalUs = static_cast<int>(segyUnsigned(raw + 116, 2, little));
    return header;
}

void SegyReader::scanHeaders(int first, int last, const HeaderVisitor& visit) {
    first = std::max(first, 0);
    last = std::min(last, layout_.traceCount - 1);
    const auto traceSize = static_cast<std::size_t>(TraceHeaderBytes + traceBytes_);
    if (layout_.variableLength || traceSize > ScanTraceLimit) {
        for (int i = first; i <= last; ++i) {
            if (!visit(i, traceHeader(i))) {
                return;
            }
        }
        return;
    }
    const FileRuns file(name_);
    if (!file.opened()) {
        fail("Its trace headers cannot be read: " + systemReason(), ErrorKind::ReadFailed);
    }
    const std::size_t perRun = std::max<std::size_t>(1, ScanBytes / traceSize);
    std::vector<unsigned char> run;
    for (int start = first; start <= last;) {
        const auto count =
            static_cast<int>(std::min<long long>(static_cast<long long>(perRun), last - start + 1));
        const std::uint64_t from = static_cast<std::uint64_t>(firstTraceOffset_) +
                                   static_cast<std::uint64_t>(start) * traceSize;
        const std::size_t bytes =
            static_cast<std::size_t>(count - 1) * traceSize + TraceHeaderBytes;
        if (!file.read(from, bytes, run)) {
            fail(formatMessage(
                "The headers of traces %s to %s cannot be read.",
                {numbers::formatInteger(start + 1), numbers::formatInteger(start + count)}));
        }
        for (int k = 0; k < count; ++k) {
            const unsigned char* raw = run.data() + static_cast<std::size_t>(k) * traceSize;
            if (!visit(start + k, decodeSegyTraceHeader(raw, layout_.littleEndian))) {
                return;
            }
        }
        start += count;
    }
}

std::vector<SegyTraceHeader> SegyReader::traceHeaders() {
    if (layout_.traceCount > SegyMaxReviewedTraces) {
        fail(formatMessage("It holds %s traces; Quarvel reviews lines of up to %s.",
                           {numbers::formatInteger(layout_.traceCount),
                            numbers::formatInteger(SegyMaxReviewedTraces)}),
             ErrorKind::Capacity);
    }
    std::vector<SegyTraceHeader> headers;
    headers.reserve(static_cast<std::size_t>(layout_.traceCount));
    scanHeaders(0, layout_.traceCount - 1, [&](int, const SegyTraceHeader& header) {
        headers.push_back(header);
        return true;
    });
    return headers;
}

} // namespace quarvel
