#pragma once

#include "formats/file_system.h"
#include "formats/numbers.h"
#include "formats/series_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarvel {

// Every line the program writes ends with CR LF, the last one included.
inline constexpr std::string_view LineEnd = "\r\n";

// Builds a text in memory, a line at a time, so that a file is either written
// whole or not touched at all.
class TextBuilder {
public:
    TextBuilder() = default;
    // A builder that keeps no more than about pieceBytes: whenever it holds
    // that many it hands its text to `drain` and starts again, and flush()
    // hands over the rest. A long file is then written through a small buffer
    // instead of being held whole (fresh memory is not free: every page of it
    // costs a trip into the system the first time it is touched).
    TextBuilder(std::size_t pieceBytes, std::function<void(std::string_view)> drain)
        : pieceBytes_(pieceBytes), drain_(std::move(drain)) {
        text_.reserve(pieceBytes + 256);
    }

    void line(std::string_view text) {
        text_ += text;
        text_ += LineEnd;
        lineDone();
    }
    // A line of a series file, "time amplitude" both in E23 form
    // (appendSeriesLine), as the engine and the chirp source write their
    // series.
    void lineE23(double time, double amplitude) {
        appendSeriesLine(text_, time, amplitude);
        lineDone();
    }
    // Room for this many more bytes, so that a long text is not copied as it
    // grows (a builder that drains has its room already).
    void reserveMore(std::size_t bytes) {
        if (!drain_) {
            text_.reserve(text_.size() + bytes);
        }
    }
    // Hands what the builder holds to its drain, if it has one.
    void flush() {
        if (drain_ && !text_.empty()) {
            drain_(text_);
            text_.clear();
        }
    }

    // Empty again, keeping its room for the next text.
    void clear() { text_.clear(); }

    const std::string& text() const { return text_; }
    // The text, moved out; the builder is empty afterwards.
    std::string take() { return std::move(text_); }

private:
    void lineDone() {
        if (drain_ && text_.size() >= pieceBytes_) {
            flush();
        }
    }

    std::string text_;
    std::size_t pieceBytes_ = 0;
    std::function<void(std::string_view)> drain_;
};

// Writes the text to the file through a temporary file in the same folder and
// a rename, so a failed write leaves the old file as it was. A symbolic link
// is followed and its target written; a device or a pipe is written into as
// it stands (one nobody reads from is refused), never replaced. Throws
// "Cannot create file ..." with the system's reason, "Cannot replace file
// ..." when the written file cannot take the old one's place.
void writeTextFile(const std::filesystem::path& path, std::string_view text);

// Where a write to the path lands: the path itself, or the end of the chain
// of symbolic links it starts. Throws "Cannot create file ..." for links that
// lead round in a circle.
std::filesystem::path writeTarget(const std::filesystem::path& path);

// One file of a set written together.
struct PendingFile {
    std::filesystem::path path;
    std::string text;
};

// Writes a set of files all or nothing: every text goes to a temporary file
// first, and only when all of them are written does each take its target's
// place, in order, each in one step, so that a reader never finds a target
// missing that existed before. Should putting one in place fail, the files
// already replaced get their old contents back: every target is as it was.
// Symbolic links are followed; a target that is a device or a pipe is refused
// before anything is written. Throws "Cannot create file ..." (or "Cannot
// replace file ..." when a written file cannot take its place) naming the
// file that failed.
void writeTextFiles(const std::vector<PendingFile>& files,
                    FileSystem& fileSystem = systemFileSystem());

// The same for texts made one at a time: textOf(i) gives the text of paths[i],
// which is written to its temporary file before textOf(i + 1) is asked for,
// so one buffer can serve every file of the set (the engine's five files
// would otherwise take fresh pages of memory each).
void writeTextFiles(const std::vector<std::filesystem::path>& paths,
                    const std::function<std::string_view(std::size_t)>& textOf,
                    FileSystem& fileSystem = systemFileSystem());

// The same for texts made in pieces: writeOf(i, put) makes the text of
// paths[i] by calling put with its pieces in order, each written out before
// the next is made (see the draining TextBuilder).
using PieceSink = std::function<void(std::string_view)>;
void writeTextFilesInPieces(const std::vector<std::filesystem::path>& paths,
                            const std::function<void(std::size_t, const PieceSink&)>& writeOf,
                            FileSystem& fileSystem = systemFileSystem());

// The byte-order mark some editors put at the start of a UTF-8 text. It is
// not part of the text: every reader skips it.
inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// True when the text starts with Utf8Bom.
inline bool startsWithUtf8Bom(std::string_view text) {
    return text.substr(0, Utf8Bom.size()) == Utf8Bom;
}

// Refuses what is not a regular file before it is opened: a folder, and a
// FIFO or a device, on which reading would block or never end ("Cannot open
// file ... It is not a file."). A missing file is left to the open call, which
// reports it with the system's reason. Call it at every open of a user's file.
void requireRegularFile(const std::filesystem::path& path);

// The whole file as bytes, without a leading UTF-8 byte-order mark. Throws
// "Cannot open file ..." when it cannot be opened or read, and when it is
// larger than maxBytes.
std::string readTextFile(const std::filesystem::path& path,
                         std::uintmax_t maxBytes = 512ULL * 1024 * 1024);

// Up to maxBytes from the start of a regular file, as bytes (a byte-order
// mark included); nothing when the file is missing, is not a regular file or
// cannot be read. For working files whose readers show what they find.
std::string readTextPrefix(const std::filesystem::path& path, std::uintmax_t maxBytes);

// Splits a text into lines: CR LF, a lone CR and a lone LF each end a line.
// A final line without a break is a line; a final break adds none.
std::vector<std::string> splitLines(std::string_view text);

// A text whose line breaks (CR LF, lone CR, lone LF) are all CR LF.
std::string normaliseLineEnds(std::string_view text);

} // namespace quarvel
