#include "formats/quarvel_error.h"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace quarvel {

std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
            next != args.end()) {
            out += *next++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

void throwCannotOpen(const std::string& fileName, const std::string& reason, ErrorKind kind) {
    throw QuarvelError(formatMessage(msg::CannotOpenFile, {fileName, reason}), kind);
}

void throwCannotCreate(const std::string& fileName, const std::string& reason) {
    throw QuarvelError(formatMessage(msg::CannotCreateFile, {fileName, reason}),
                       ErrorKind::WriteFailed);
}

void throwCannotReplace(const std::string& fileName, const std::string& reason) {
    throw QuarvelError(formatMessage(msg::CannotReplaceFile, {fileName, reason}),
                       ErrorKind::WriteFailed);
}

void throwCannotOpenFromSystem(const std::string& fileName) {
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    throwCannotOpen(fileName, systemReason(),
                    missing ? ErrorKind::NotFound : ErrorKind::ReadFailed);
}

std::string systemReason() {
    const int code = errno;
    if (code == 0) {
        return "Unknown error.";
    }
    std::string text = std::strerror(code);
    if (!text.empty()) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
    return text + ".";
}

} // namespace quarvel
