#include "platform/work_dir.h"

#include "formats/quarvel_error.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <system_error>

namespace quarvel {
namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

WorkDir WorkDir::fromEnvironment() {
    if (const char* dir = std::getenv("QUARVEL_WORKDIR"); dir != nullptr && *dir != '\0') {
        return WorkDir(dir);
    }
    const char* home = std::getenv("HOME");
    return WorkDir(std::filesystem::path(home != nullptr && *home != '\0' ? home : ".") /
                   "Quarvel");
}

void WorkDir::ensureExists() const {
    std::error_code ec;
    if (std::filesystem::is_directory(folder_, ec)) {
        return;
    }
    std::filesystem::create_directories(folder_, ec);
    if (ec || !std::filesystem::is_directory(folder_)) {
        throwCannotCreate(folder_.string(), ec ? ec.message() + "." : "Not a folder.");
    }
}

std::filesystem::path WorkDir::file(std::string_view name) const {
    const std::filesystem::path exact = folder_ / std::string(name);
    std::error_code ec;
    if (std::filesystem::exists(exact, ec)) {
        return exact;
    }
    for (std::filesystem::directory_iterator it(folder_, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (sameIgnoringCase(entry, name)) {
            return it->path();
        }
    }
    return exact;
}

} // namespace quarvel
