#include "formats/text_file.h"

#include "formats/quarvel_error.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace quarvel {
namespace {

std::filesystem::path temporaryBeside(const std::filesystem::path& path) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::filesystem::path tmp = path;
    tmp += ".tmp" + std::to_string(stamp) + "-" + std::to_string(counter++);
    return tmp;
}

} // namespace

std::filesystem::path writeTarget(const std::filesystem::path& path) {
    std::filesystem::path target = path;
    std::error_code ec;
    for (int hops = 0; std::filesystem::is_symlink(target, ec); ++hops) {
        if (hops == 40) {
            throwCannotCreate(path.string(), "Its symbolic links lead round in a circle.");
        }
        const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec) {
            throwCannotCreate(path.string(), ec.message() + ".");
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

namespace {

// Writes into a device or a pipe as it stands: renaming over one would put a
// plain file in its place. A pipe nobody reads from is refused rather than
// waited on.
void writeThrough(const std::filesystem::path& path, const std::filesystem::path& target,
                  std::string_view text) {
    errno = 0;
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        throwCannotCreate(path.string(),
                          errno == ENXIO ? "No program reads from it." : systemReason());
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const std::string reason = systemReason();
            ::close(fd);
            throwCannotCreate(path.string(), reason);
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

} // namespace

void writeTextFile(const std::filesystem::path& path, std::string_view text) {
    const std::filesystem::path target = writeTarget(path);
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(target, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        writeThrough(path, target, text);
        return;
    }
    const std::filesystem::path tmp = temporaryBeside(target);
    errno = 0;
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) {
            throwCannotCreate(path.string(), systemReason());
        }
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            const std::string reason = systemReason();
            out.close();
            std::error_code ignored;
            std::filesystem::remove(tmp, ignored);
            throwCannotCreate(path.string(), reason);
        }
    }
    std::filesystem::rename(tmp, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        throwCannotReplace(path.string(), ec.message() + ".");
    }
}

namespace {

// One file of a set on its way into place.
struct Placement {
    std::filesystem::path target;
    std::filesystem::path written; // the new text, until it takes the target's name
    bool placed = false;
    // Where the old file's content waits until the whole set is in place:
    // empty when there was no old file.
    std::filesystem::path previous;
};

bool cannotExchange(std::error_code ec) {
    return ec == std::errc::not_supported || ec == std::errc::invalid_argument ||
           ec == std::errc::function_not_supported;
}

// Puts one written file in place of its target; the target's name always
// names a whole file, the old or the new.
std::error_code place(FileSystem& fs, Placement& p) {
    std::error_code ec;
    const bool existed = std::filesystem::exists(p.target, ec);
    if (!existed) {
        ec = fs.rename(p.written, p.target);
        p.placed = !ec;
        return ec;
    }
    // Swapping leaves the old content under the written file's name, ready
    // to be swapped back, and does not make ext4 write the new data out at
    // once as renaming over an existing file does (its auto_da_alloc guard).
    ec = fs.exchange(p.written, p.target);
    if (!ec) {
        p.placed = true;
        p.previous = p.written;
        return ec;
    }
    if (!cannotExchange(ec)) {
        return ec;
    }
    // A file system that cannot swap: keep a copy of the old file, then
    // rename over it.
    std::filesystem::path copy = temporaryBeside(p.target);
    ec = fs.copy(p.target, copy);
    if (ec) {
        fs.remove(copy);
        return ec;
    }
    ec = fs.rename(p.written, p.target);
    if (ec) {
        fs.remove(copy);
        return ec;
    }
    p.placed = true;
    p.previous = std::move(copy);
    return ec;
}

// Puts every old file back (those placed, in reverse order) and removes what
// was written. An old file that cannot be put back either is the only copy
// of what the target held: it stays where it waits, and the returned text
// says where, for the message.
std::string restore(FileSystem& fs, std::vector<Placement>& set) {
    std::string kept;
    for (auto p = set.rbegin(); p != set.rend(); ++p) {
        if (!p->placed) {
            fs.remove(p->written);
        } else if (p->previous.empty()) {
            fs.remove(p->target);
        } else if (fs.rename(p->previous, p->target)) {
            kept += " The previous " + p->target.filename().string() +
                    " could not be put back: it is kept as " + p->previous.string() + ".";
        }
    }
    return kept;
}

} // namespace

void writeTextFiles(const std::vector<PendingFile>& files, FileSystem& fs) {
    std::vector<std::filesystem::path> paths;
    paths.reserve(files.size());
    for (const PendingFile& file : files) {
        paths.push_back(file.path);
    }
    writeTextFiles(
        paths, [&files](std::size_t i) -> std::string_view { return files[i].text; }, fs);
}

void writeTextFiles(const std::vector<std::filesystem::path>& paths,
                    const std::function<std::string_view(std::size_t)>& textOf, FileSystem& fs) {
    writeTextFilesInPieces(
        paths, [&textOf](std::size_t i, const PieceSink& put) { put(textOf(i)); }, fs);
}

void writeTextFilesInPieces(const std::vector<std::filesystem::path>& paths,
                            const std::function<void(std::size_t, const PieceSink&)>& writeOf,
                            FileSystem& fs) {
    std::vector<Placement> set;
    const auto discard = [&set, &fs] {
        for (const Placement& p : set) {
            fs.remove(p.written);
        }
    };
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::filesystem::path path = writeTarget(paths[i]);
        std::error_code ec;
        const std::filesystem::file_status status = std::filesystem::status(path, ec);
        // A folder in the way would only make the rename fail after other
        // files had already been replaced; a device or a pipe would be
        // replaced by a plain file.
        if (std::filesystem::is_directory(status)) {
            discard();
            throwCannotCreate(paths[i].string(), "It is a folder, not a file.");
        }
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
            discard();
            throwCannotCreate(paths[i].string(), "It is not a plain file.");
        }
        const std::filesystem::path tmp = temporaryBeside(path);
        errno = 0;
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (out) {
            set.push_back({path, tmp, false, {}});
            try {
                writeOf(i, [&out](std::string_view piece) {
                    out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
                });
            } catch (...) {
                out.close();
                discard();
                throw;
            }
            out.flush();
        }
        if (!out) {
            const std::string reason = systemReason();
            out.close();
            discard();
            throwCannotCreate(path.string(), reason);
        }
    }
    for (Placement& p : set) {
        const std::error_code ec = place(fs, p);
        if (ec) {
            const std::string kept = restore(fs, set);
            throwCannotReplace(p.target.string(), ec.message() + "." + kept);
        }
    }
    for (const Placement& p : set) {
        if (!p.previous.empty()) {
            fs.remove(p.previous);
        }
    }
}

void requireRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        return;
    }
    if (std::filesystem::is_directory(status)) {
        throwCannotOpen(path.string(), "It is a folder, not a file.");
    }
    if (!std::filesystem::is_regular_file(status)) {
        throwCannotOpen(path.string(), "It is not a file.");
    }
}

std::string readTextFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    requireRegularFile(path);
    errno = 0;
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throwCannotOpenFromSystem(path.string());
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes) {
        throwCannotOpen(path.string(),
                        "The file is too large (" + std::to_string(size) + " bytes; at most " +
                            std::to_string(maxBytes) + " are read).",
                        ErrorKind::Capacity);
    }
    std::string text;
    if (!ec) {
        text.reserve(static_cast<std::size_t>(size));
    }
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        text.append(buf, static_cast<std::size_t>(in.gcount()));
        if (text.size() > maxBytes) {
            throwCannotOpen(path.string(), "The file is too large.", ErrorKind::Capacity);
        }
    }
    if (in.bad()) {
        throwCannotOpen(path.string(), systemReason());
    }
    if (startsWithUtf8Bom(text)) {
        text.erase(0, Utf8Bom.size());
    }
    return text;
}

std::string readTextPrefix(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return {};
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::ifstream file(path, std::ios::binary);
    if (ec || !file) {
        return {};
    }
    std::string text(static_cast<std::size_t>(std::min(size, maxBytes)), '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending) {
        lines.push_back(std::move(current));
    }
    return lines;
}

std::string normaliseLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += LineEnd;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace quarvel
