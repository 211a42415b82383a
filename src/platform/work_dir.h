#pragma once

#include <filesystem>
#include <string_view>

namespace quarvel {

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

private:
    std::filesystem::path folder_;
};

} // namespace quarvel
