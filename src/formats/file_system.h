#pragma once

#include <filesystem>
#include <system_error>

namespace quarvel {

// The file-system calls that put a set of written files in place of the old
// ones. The program uses the system's; tests put in one that fails a chosen
// call, to see that a failure partway leaves the old set as it was.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Swaps the contents of two existing names in one step: a reader of
    // either name finds a whole file at every moment. An error of
    // std::errc::not_supported or std::errc::invalid_argument means the file
    // system cannot swap.
    virtual std::error_code exchange(const std::filesystem::path& a,
                                     const std::filesystem::path& b) = 0;
    // Renames, replacing `to` in one step when it exists.
    virtual std::error_code rename(const std::filesystem::path& from,
                                   const std::filesystem::path& to) = 0;
    virtual std::error_code copy(const std::filesystem::path& from,
                                 const std::filesystem::path& to) = 0;
    virtual void remove(const std::filesystem::path& path) = 0;
};

// The system's own calls.
FileSystem& systemFileSystem();

} // namespace quarvel
