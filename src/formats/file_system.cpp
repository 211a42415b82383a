#include "formats/file_system.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace quarvel {
namespace {

class SystemFileSystem final : public FileSystem {
public:
    std::error_code exchange(const std::filesystem::path& a,
                             const std::filesystem::path& b) override {
        if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) != 0) {
            return {errno, std::generic_category()};
        }
        return {};
    }
    std::error_code rename(const std::filesystem::path& from,
                           const std::filesystem::path& to) override {
        std::error_code ec;
        std::filesystem::rename(from, to, ec);
        return ec;
    }
    std::error_code copy(const std::filesystem::path& from,
                         const std::filesystem::path& to) override {
        std::error_code ec;
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
        return ec;
    }
    void remove(const std::filesystem::path& path) override {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

} // namespace

FileSystem& systemFileSystem() {
    static SystemFileSystem fileSystem;
    return fileSystem;
}

} // namespace quarvel
