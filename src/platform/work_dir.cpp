#include "platform/work_dir.h"

#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

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

bool WorkDir::holdsWorkingFile(const std::filesystem::path& path) const {
    const std::filesystem::path target = writeTarget(path);
    const std::string name = target.filename().string();
    std::error_code ec;
    const std::filesystem::path parent =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::equivalent(parent, folder_, ec) || ec) {
        return false;
    }
    return std::any_of(WorkingFileNames.begin(), WorkingFileNames.end(),
                       [&name](std::string_view own) { return sameIgnoringCase(own, name); });
}

WorkingFileStamps WorkingFileStamps::take(const WorkDir& dir) {
    WorkingFileStamps snapshot;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir.folder(), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        for (std::size_t i = 0; i < WorkingFileNames.size(); ++i) {
            if (!sameIgnoringCase(WorkingFileNames[i], name)) {
                continue;
            }
            std::error_code statError;
            const auto modified = std::filesystem::last_write_time(it->path(), statError);
            const auto size = std::filesystem::file_size(it->path(), statError);
            snapshot.stamps_[i] = {true, modified.time_since_epoch().count(), statError ? 0 : size};
        }
    }
    return snapshot;
}

std::vector<std::string_view>
WorkingFileStamps::changedSince(const WorkingFileStamps& earlier) const {
    std::vector<std::string_view> changed;
    for (std::size_t i = 0; i < stamps_.size(); ++i) {
        if (!(stamps_[i] == earlier.stamps_[i])) {
            changed.push_back(WorkingFileNames[i]);
        }
    }
    return changed;
}

WorkDirLock::WorkDirLock(const WorkDir& dir, WhenBusy whenBusy,
                         const std::function<void()>& waiting)
    : fd_(::open(dir.folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0 || ::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        return;
    }
    if (errno != EWOULDBLOCK) {
        // A file system without such locks: the command runs as it always did.
        ::close(fd_);
        fd_ = -1;
        return;
    }
    if (whenBusy == WhenBusy::Refuse) {
        ::close(fd_);
        throw QuarvelError(
            formatMessage(
                "Another Quarvel command is working in \"%s\"; this one was not run. Try again "
                "when that one has finished.",
                {dir.folder().string()}),
            ErrorKind::Busy);
    }
    if (waiting) {
        waiting();
    }
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

WorkDirLock::~WorkDirLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

} // namespace quarvel
