#pragma once

#include "platform/work_dir.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quarvel::testing {

// A fresh, empty working directory for one test: it is created under the
// system's temporary folder, $QUARVEL_WORKDIR points at it while the object
// lives, and it is removed (and the variable restored) afterwards.
class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    WorkDir workDir() const { return WorkDir(path_); }
    std::filesystem::path file(std::string_view name) const { return path_ / std::string(name); }

    // Writes the bytes as they are (no line end conversion).
    void write(std::string_view name, std::string_view bytes) const;
    // The file's bytes; fails the test when it cannot be read.
    std::string read(std::string_view name) const;
    bool exists(std::string_view name) const;

private:
    std::filesystem::path path_;
    std::optional<std::string> previous_;
};

} // namespace quarvel::testing
