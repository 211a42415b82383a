#include "formats/text_file.h"

#include "formats/quarvel_error.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

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

void writeTextFile(const std::filesystem::path& path, std::string_view text) {
    const std::filesystem::path tmp = temporaryBeside(path);
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
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        throwCannotCreate(path.string(), ec.message() + ".");
    }
}

void writeTextFiles(const std::vector<PendingFile>& files) {
    std::vector<std::filesystem::path> written;
    const auto discard = [&written] {
        for (const auto& tmp : written) {
            std::error_code ignored;
            std::filesystem::remove(tmp, ignored);
        }
    };
    for (const PendingFile& file : files) {
        std::error_code ec;
        // A folder in the way would only make the rename fail after other
        // files had already been replaced.
        if (std::filesystem::is_directory(file.path, ec)) {
            discard();
            throwCannotCreate(file.path.string(), "It is a folder, not a file.");
        }
        const std::filesystem::path tmp = temporaryBeside(file.path);
        errno = 0;
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (out) {
            written.push_back(tmp);
            out.write(file.text.data(), static_cast<std::streamsize>(file.text.size()));
            out.flush();
        }
        if (!out) {
            const std::string reason = systemReason();
            out.close();
            discard();
            throwCannotCreate(file.path.string(), reason);
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        // Renaming over an existing file makes ext4 write the new data out
        // at once (its auto_da_alloc guard), a millisecond or more per file;
        // removing the old file first avoids that wait. These are files the
        // program regenerates, so the instant in which neither exists is of
        // no concern. Should the removal fail, the rename still replaces it.
        std::error_code ec;
        std::filesystem::remove(files[i].path, ec);
        std::filesystem::rename(written[i], files[i].path, ec);
        if (ec) {
            written.erase(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(i));
            discard();
            throwCannotCreate(files[i].path.string(), ec.message() + ".");
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
        throwCannotOpen(path.string(), systemReason());
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes) {
        throwCannotOpen(path.string(), "The file is too large (" + std::to_string(size) +
                                           " bytes; at most " + std::to_string(maxBytes) +
                                           " are read).");
    }
    std::string text;
    if (!ec) {
        text.reserve(static_cast<std::size_t>(size));
    }
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        text.append(buf, static_cast<std::size_t>(in.gcount()));
        if (text.size() > maxBytes) {
            throwCannotOpen(path.string(), "The file is too large.");
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
