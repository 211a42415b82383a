#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace quarvel {

// The files the program keeps in the working directory.
inline constexpr std::array<std::string_view, 11> WorkingFileNames{
    "log.dat",  "trace.txt",  "chirp.dat",      "klauder.dat", "klauder.sig", "refl.dat",
    "corr.dat", "deconv.dat", "amplnofilt.dat", "ampl.dat",    "ampl.txt"};

// The program's fixed folder of working files: $QUARVEL_WORKDIR when set,
// otherwise ~/Quarvel. File names inside it are matched without regard to
// letter case, so an existing "KLAUDER.DAT" is the working file "klauder.dat".
class WorkDir {
public:
    // The folder from the environment (not created).
    static WorkDir fromEnvironment();

    explicit WorkDir(std::filesystem::path folder) : folder_(std::move(folder)) {}

    const std::filesystem::path& folder() const { return folder_; }

    // Creates the folder (and its parents) when missing. Throws
    // "Cannot create file ..." naming the folder when that fails.
    void ensureExists() const;

    // The path of the working file of that name: an existing entry whose name
    // matches without regard to letter case, else folder/name.
    std::filesystem::path file(std::string_view name) const;

    // True when writing to the path would land on one of WorkingFileNames in
    // this folder (through symbolic links too).
    bool holdsWorkingFile(const std::filesystem::path& path) const;

private:
    std::filesystem::path folder_;
};

// When each working file was last changed, and its size. Taken after one of
// the program's commands and compared before its next, it shows the files
// another program wrote meanwhile.
class WorkingFileStamps {
public:
    static WorkingFileStamps take(const WorkDir& dir);
    // The working files that differ from the earlier snapshot (written,
    // made or removed), in the order of WorkingFileNames.
    std::vector<std::string_view> changedSince(const WorkingFileStamps& earlier) const;

private:
    struct Stamp {
        bool exists = false;
        std::int64_t modified = 0;
        std::uintmax_t size = 0;
        bool operator==(const Stamp&) const = default;
    };
    std::array<Stamp, WorkingFileNames.size()> stamps_{};
};

// Another command on the same working directory: wait for it, or refuse.
enum class WhenBusy { Wait, Refuse };

// Holds the working directory for one whole command, so that two commands
// never mix their files (one's log.dat with the other's stage files). An
// advisory lock on the folder itself: every Quarvel command takes it, other
// programs are not stopped, and it goes with the process that held it.
class WorkDirLock {
public:
    // Takes the lock. When another command holds it: with Wait, `waiting` is
    // called once and the lock is waited for; with Refuse, throws a message
    // naming the folder. A folder that cannot be opened is not locked (a
    // command that needs it reports that itself).
    WorkDirLock(const WorkDir& dir, WhenBusy whenBusy, const std::function<void()>& waiting = {});
    ~WorkDirLock();
    WorkDirLock(const WorkDirLock&) = delete;
    WorkDirLock& operator=(const WorkDirLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace quarvel
